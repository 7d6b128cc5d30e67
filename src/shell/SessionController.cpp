#include "shell/SessionController.h"

#include "control/TransportViewController.h"
#include "model/AppState.h"
#include "model/BadFile.h"
#include "platform/Diagnostics.h"
#include "platform/Panels.h"
#include "shell/MainViewController.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

SessionController::SessionController(MainViewController& main, Panels& panels, QObject* parent)
    : QObject(parent), main(main), panels(panels) {
    keepTimer.setSingleShot(true);
    keepTimer.setInterval(keepDelay);
    connect(&keepTimer, &QTimer::timeout, this, &SessionController::keepSession);
}

QString SessionController::applicationFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QLatin1String("/net.brenmoor.varlin");
    QDir().mkpath(folder);
    return folder;
}

QUrl SessionController::recoveryURL() {
    return QUrl::fromLocalFile(applicationFolder() + QLatin1String("/Untitled.varlin"));
}

void SessionController::restoreLastRun() {
    const std::optional<AppState> state = AppState::read();
    const bool named = state && state->playlistURL;
    const QFileInfo recovery(recoveryURL().toLocalFile());
    if (recovery.exists()) {
        if (!named || recovery.lastModified() >=
                          QFileInfo(AppState::stateFileURL().toLocalFile()).lastModified()) {
            restoreUntitled();
            return;
        }
        const QString kept =
            recovery.path() + QStringLiteral("/Untitled %1.varlin")
                                  .arg(recovery.lastModified().toString("yyyy-MM-dd hh.mm.ss"));
        if (QFile::rename(recovery.filePath(), kept))
            printLine(QStringLiteral("An untitled session older than the last one was kept as ") +
                      kept);
    }
    if (!named)
        return;
    openSessionAt(*state->playlistURL);
    if (state->currentEntryIndex) {
        const int row = int(*state->currentEntryIndex);
        main.selectRows({row});
        main.setCurrentEntry(row);
    }
    main.player.setCurrentTime(state->currentTime);
    main.saveRunState();
}

void SessionController::restoreUntitled() {
    QString reason;
    const std::shared_ptr<Playlist> kept = Playlist::open(recoveryURL(), &reason);
    if (!kept) {
        BadFile::setAside(recoveryURL().toLocalFile(), reason);
        return;
    }
    kept->afterLoad();
    kept->url.reset();
    main.replacePlaylist(kept);
    showOpened();
    // It was never saved under a name: quitting asks for one.
    kept->dirty = true;
}

void SessionController::sessionChanged() {
    if (!keepTimer.isActive())
        keepTimer.start();
}

void SessionController::keepSession() {
    keepTimer.stop();
    Playlist& playlist = main.playlist();
    playlist.currentTime = main.player.currentTime();
    QString reason;
    if (_sessionURL) {
        if (playlist.dirty && !playlist.writeCopy(*_sessionURL, &reason))
            main.reportProblem(QStringLiteral("Session not saved: ") + reason);
    } else if (playlist.allEntries.empty()) {
        QFile::remove(recoveryURL().toLocalFile());
    } else if (!playlist.writeCopy(recoveryURL(), &reason)) {
        main.reportProblem(QStringLiteral("Untitled session not kept: ") + reason);
    }
}

void SessionController::openSessionAt(const QUrl& url) {
    main.restTimer.disarm();
    main.transport().resetRate();
    const std::optional<AppState> state = AppState::read();
    main.assignEntry(nullptr);

    QString reason;
    std::shared_ptr<Playlist> opened = Playlist::open(url, &reason);
    if (!opened) {
        // The empty session belongs to no file, so that nothing saved later overwrites the
        // previous session's file with it.
        main.replacePlaylist(std::make_shared<Playlist>());
        setSessionURL(std::nullopt);
        main.reloadTable();
        main.setCurrentEntry(-1);
        main.reportProblem(reason);
        return;
    }
    opened->afterLoad();
    // Tracks whose files are gone are marked from the start (a look at each path, no file
    // opened), not only once they are chosen.
    for (const PlaylistEntryPtr& entry : opened->allEntries)
        entry->checkFileExists();
    main.replacePlaylist(opened);
    Playlist& playlist = main.playlist();

    if (state && state->playlistURL == url && state->currentEntryIndex) {
        const int row = int(*state->currentEntryIndex);
        main.reloadTable();
        main.selectRows({row});
        main.setCurrentEntry(row);
        playlist.currentTime = state->currentTime;
        if (const PlaylistEntryPtr entry = playlist.assignedEntry;
            entry && state->currentTimeRangeSet) {
            entry->currentTimeRangeSet = state->currentTimeRangeSet;
            if (state->zeros)
                entry->zeros = *state->zeros;
            main.entryMarksChanged(entry);
        }
    }
    showOpened();
    setSessionURL(url);
    noteRecentSession(url);
}

void SessionController::showOpened() {
    Playlist& playlist = main.playlist();
    const double remembered = playlist.currentTime;
    main.reloadTable();
    if (const std::optional<int> item = playlist.currentItem(); item && *item >= 0) {
        main.selectRows({*item});
        main.setCurrentEntry(*item);
    }
    main.player.setCurrentTime(remembered);
}

void SessionController::saveIfNeeded(std::function<void()> continuation) {
    Playlist& playlist = main.playlist();
    if (playlist.allEntries.empty()) {
        main.saveRunState();
        continuation();
        return;
    }
    if (!_sessionURL) {
        saveAsSheet(std::move(continuation));
        return;
    }
    main.saveRunState();
    if (writeSession(*_sessionURL))
        continuation();
}

bool SessionController::saveSessionQuietly() {
    return !_sessionURL || writeSession(*_sessionURL);
}

bool SessionController::writeSession(const QUrl& url) {
    Playlist& playlist = main.playlist();
    playlist.currentTime = main.player.currentTime();
    QString reason;
    if (playlist.save(url, &reason))
        return true;
    main.reportProblem(QStringLiteral("Session not saved: ") + reason);
    return false;
}

void SessionController::saveAsSheet(std::function<void()> continuation) {
    panels.chooseSessionToSave(
        applicationFolder(), QStringLiteral("Session.varlin"),
        [this, continuation = std::move(continuation)](std::optional<QUrl> url) {
            // Cancelled: the New, Close or Quit that asked for the save does not go ahead, so a
            // list that belongs to no file is never thrown away unasked.
            if (!url || !writeSession(*url))
                return;
            setSessionURL(*url);
            main.saveRunState();
            main.playlist().dirty = false;
            continuation();
        });
}

void SessionController::clearSession() {
    main.clearSearch();
    setSessionURL(std::nullopt);
    // Leaving the current entry logs it and keeps its notes and play, as any entry change does.
    main.setCurrentEntry(-1);
    Playlist& playlist = main.playlist();
    playlist.allEntries.clear();
    playlist.dirty = true;
    main.selectRows({});
    main.reloadTable();
    playlist.dirty = false;
}

void SessionController::openSessionReplacing(const QUrl& url) {
    // Opened only once the present session is saved (the save may wait for a panel).
    saveIfNeeded([this, url] {
        clearSession();
        openSessionAt(url);
    });
}

void SessionController::openSession() {
    panels.chooseSessionToOpen(applicationFolder(), [this](std::optional<QUrl> url) {
        if (url)
            openSessionReplacing(*url);
    });
}

void SessionController::saveAsSession() {
    saveAsSheet([this] {
        QSettings settings;
        if (_sessionURL) {
            settings.setValue(lastSessionURLKey, *_sessionURL);
            noteRecentSession(*_sessionURL);
        } else {
            settings.remove(lastSessionURLKey);
        }
    });
}

void SessionController::newSession() {
    saveIfNeeded([this] { clearSession(); });
}

void SessionController::closeSession() {
    saveIfNeeded([this] {
        clearSession();
        QSettings settings;
        settings.remove(lastSessionURLKey);
        settings.remove(lastSessionBookmarkKey);
    });
}

SessionController::TerminateReply
SessionController::applicationShouldTerminate(std::function<void()> terminate) {
    Playlist& playlist = main.playlist();
    if (!playlist.dirty)
        return TerminateReply::now;
    main.player.pause();
    if (const PlaylistEntryPtr entry = playlist.assignedEntry) {
        main.logger.logPlayed(entry);
        entry->recordLeave();
    }
    saveIfNeeded(std::move(terminate));
    return TerminateReply::later;
}

void SessionController::setSessionURL(std::optional<QUrl> url) {
    QFile::remove(recoveryURL().toLocalFile());
    _sessionURL = std::move(url);
    main.updateWindowTitle();
}

QStringList SessionController::recentSessions() const {
    return QSettings().value(recentSessionsKey).toStringList();
}

void SessionController::noteRecentSession(const QUrl& url) {
    QStringList recent = recentSessions();
    recent.removeAll(url.toLocalFile());
    recent.prepend(url.toLocalFile());
    while (recent.size() > recentSessionsLimit)
        recent.removeLast();
    QSettings().setValue(recentSessionsKey, recent);
    emit recentSessionsChanged();
}

void SessionController::clearRecentSessions() {
    QSettings().remove(recentSessionsKey);
    emit recentSessionsChanged();
}
