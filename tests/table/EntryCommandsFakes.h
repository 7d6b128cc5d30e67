#pragma once
// Stand-ins for the main controller and the user's panels, for driving the playlist table and
// its commands without a window.

#include "model/Playlist.h"
#include "model/UndoListTarget.h"
#include "model/WallClock.h"
#include "support/FakePanels.h"
#include "table/EntryCommandHost.h"
#include "table/EntryCommands.h"

#include <QStringList>
#include <deque>

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
        calls << QStringLiteral("assignEntry ") + entry->_url.fileName();
        session->assignedEntry = entry;
    }
    void updateDisplays() override { calls << QStringLiteral("updateDisplays"); }
    void entryMarksChanged(const PlaylistEntryPtr& entry) override {
        calls << QStringLiteral("entryMarksChanged ") + entry->_url.fileName();
    }
    void openDroppedSession(const QUrl& url) override {
        calls << QStringLiteral("openDroppedSession ") + url.fileName();
        entriesWhenOpening = session->allEntries.size();
    }
    void clearSearch() override {
        calls << QStringLiteral("clearSearch");
        session->filterText.clear();
    }

    void applyListState(const std::vector<PlaylistEntryPtr>&,
                        const std::set<int>& selection) override {
        commands->reloadTable();
        if (selection.empty()) {
            commands->selectRows({});
            return;
        }
        commands->selectRows({*selection.begin()});
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

// An entry for a file that need not exist, with a known length.
inline PlaylistEntryPtr entryFor(const QString& path, double duration = 180.0) {
    return std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), duration);
}

inline QStringList fileNames(const std::vector<PlaylistEntryPtr>& entries) {
    QStringList names;
    for (const PlaylistEntryPtr& entry : entries)
        names << entry->_url.fileName();
    return names;
}
