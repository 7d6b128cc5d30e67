#pragma once
// Stand-ins for the main controller and the model's clock, for driving the playlist table and its
// commands without a window.

#include "model/Playlist.h"
#include "model/UndoListTarget.h"
#include "model/WallClock.h"
#include "support/FakePanels.h"
#include "table/EntryCommandHost.h"
#include "table/EntryCommands.h"
#include "table/PlaylistTableModel.h"

#include <QStringList>
#include <gtest/gtest.h>

// Records what the commands asked of the main controller; list states are shown the way the
// main controller shows them (reload, select, make the first selected row current).
class FakeEntryCommandHost : public EntryCommandHost, public UndoListTarget {
public:
    FakeEntryCommandHost() { session->undoer.setTarget(this); }

    Playlist& playlist() override { return *session; }
    bool isPlaying() const override { return playing; }
    void setCurrentEntry(int row) override {
        calls << QStringLiteral("setCurrentEntry %1").arg(row);
        session->assignedEntry = session->entryAt(row);
    }
    void assignEntry(const PlaylistEntryPtr& entry) override {
        calls << "assignEntry " + entry->_url.fileName();
        session->assignedEntry = entry;
    }
    void updateDisplays() override {}
    void entryMarksChanged(const PlaylistEntryPtr& entry) override {
        calls << "entryMarksChanged " + entry->_url.fileName();
    }
    void openDroppedSession(const QUrl& url) override {
        calls << "openDroppedSession " + url.fileName();
        entriesWhenOpening = session->allEntries.size();
    }
    void clearSearch() override {
        calls << QStringLiteral("clearSearch");
        session->filterText.clear();
    }
    void applyListState(const std::vector<PlaylistEntryPtr>&,
                        const std::set<int>& selection) override {
        commands->reloadTable();
        commands->selectRows(selection.empty() ? std::set<int>{} : std::set{*selection.begin()});
        if (!selection.empty())
            setCurrentEntry(*selection.begin());
    }
    void undoMenuChanged() override {}

    std::shared_ptr<Playlist> session = std::make_shared<Playlist>();
    EntryCommands* commands = nullptr;
    bool playing = false;
    QStringList calls;
    size_t entriesWhenOpening = 0;
};

// Stands the model's clock at a given moment for the life of the object.
class StoppedClock {
public:
    explicit StoppedClock(QDateTime now) : now(std::move(now)) {
        WallClock::setSource([this] { return this->now; });
    }
    ~StoppedClock() { WallClock::setSource({}); }
    StoppedClock(const StoppedClock&) = delete;
    StoppedClock& operator=(const StoppedClock&) = delete;

    QDateTime now;
};

// The table's commands on a fake main controller and panels, over entries for files that need
// not exist, each three minutes long.
class TableFixture : public testing::Test {
protected:
    TableFixture() { host.commands = &commands; }

    // Entries for `names`, in /music/ unless a whole path is given.
    void setEntries(const QStringList& names) {
        host.session->allEntries.clear();
        for (const QString& name : names)
            host.session->allEntries.push_back(std::make_shared<PlaylistEntry>(
                QUrl::fromLocalFile(name.startsWith('/') ? name : "/music/" + name), 180.0));
        commands.reloadTable();
    }
    QStringList order() const {
        QStringList names;
        for (const PlaylistEntryPtr& entry : host.session->allEntries)
            names << entry->_url.fileName();
        return names;
    }
    PlaylistEntryPtr entry(int i) const { return host.session->allEntries[size_t(i)]; }
    PlaylistTableModel& model() { return *commands.model(); }

    FakeEntryCommandHost host;
    FakePanels panels;
    EntryCommands commands{host, panels};
};
