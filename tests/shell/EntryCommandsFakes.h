#pragma once
// Stand-ins for the main controller and the user's panels, for driving the playlist table and
// its commands without a window.

#include "model/WallClock.h"
#include "model/Playlist.h"
#include "model/UndoListTarget.h"
#include "shell/EntryCommandHost.h"
#include "shell/EntryCommands.h"
#include "shell/Panels.h"

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

// Answers each question with the next prepared answer, and keeps the questions asked.
class FakePanels : public Panels {
public:
    void chooseSessionToOpen(const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void chooseSessionToSave(const QString&, const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override { done({}); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override {
        done(movedFile);
    }
    void confirm(const QString& message, const QString& okTitle, const QString& cancelTitle,
                 std::function<void(bool)> done) override {
        questions << QStringList{message, okTitle, cancelTitle}.join(QLatin1Char('|'));
        done(confirmAnswer);
    }

    std::optional<QUrl> movedFile;
    bool confirmAnswer = true;
    QStringList questions;
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
