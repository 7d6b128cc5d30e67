#pragma once
// The session flow of the main window: opening a session file (with the run state of the last
// run when it names the same file), saving before the session is replaced, Save As, New, Open,
// Close and Open Recent, and the save that quitting waits for. Sessions are saved, never asked
// about; a file that cannot be opened or written is reported in one line and nothing is lost.
// While a session is worked on a copy is kept on disk (keepSession), so a crash costs at most
// the last two seconds; an untitled session comes back from it at the next start.

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class MainViewController;
class Panels;

class SessionController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* lastSessionURLKey = "lastSessionURL";
    static constexpr const char* lastSessionBookmarkKey = "lastSessionBookmark";
    static constexpr const char* recentSessionsKey = "recentSessions";
    static constexpr int recentSessionsLimit = 10;
    // The longest a change waits before it is kept on disk.
    static constexpr std::chrono::seconds keepDelay{2};

    SessionController(MainViewController& main, Panels& panels, QObject* parent = nullptr);

    // None while the session has never been saved.
    const std::optional<QUrl>& sessionURL() const { return _sessionURL; }

    // The folder of the run state, the play log and the session panels (created when missing).
    static QString applicationFolder();
    // Where an untitled session is kept: "Untitled.varlin" in the application folder.
    static QUrl recoveryURL();

    // At the first activation, back to where the last run ended: the run state reopens a named
    // session, the recovery file an untitled one. Should both be there (a crash between
    // writing one and removing the other), the newer wins and an older recovery file is kept
    // under a dated name.
    void restoreLastRun();

    // The session changed (a list edit, the current entry, the position): it is kept within
    // keepDelay. A single shot started by the first change not yet kept, so that a stream of
    // changes cannot put the write off.
    void sessionChanged();
    bool keepPending() const { return keepTimer.isActive(); }
    // What the shot does: an untitled session is written to the recovery file (removed once
    // the list is empty); a named one with changes to its own file, staying dirty so that
    // quitting still logs and saves as it would have.
    void keepSession();

    void openSessionAt(const QUrl& url);
    // Saves the session when it has entries (through Save As when it has no file yet), then
    // runs `continuation`. When the write fails (reported) or Save As is cancelled, the
    // continuation does not run, so nothing unsaved is thrown away.
    void saveIfNeeded(std::function<void()> continuation);
    // Writes the session to its file without touching the run state; false when it failed.
    bool saveSessionQuietly();
    // Empties the session: no file, no entries, no current entry, no filter.
    void clearSession();
    // Saves the present session, then opens `url` in its place.
    void openSessionReplacing(const QUrl& url);

    // The File menu.
    void openSession();
    void saveAsSession();
    void newSession();
    void closeSession();

    enum class TerminateReply { now, later };
    // Quitting: a clean session ends now; a dirty one is saved first and `terminate` runs when
    // the save has succeeded (the answer is then `later`).
    TerminateReply applicationShouldTerminate(std::function<void()> terminate);

    // Most recent first, as local paths.
    QStringList recentSessions() const;
    void clearRecentSessions();

signals:
    void recentSessionsChanged();

private:
    void restoreUntitled();
    // The opened playlist shown with its current entry loaded at its position.
    void showOpened();
    void saveAsSheet(std::function<void()> continuation);
    // Writes the playlist at its position to `url`; reports a failure.
    bool writeSession(const QUrl& url);
    // The session changes identity (named, opened, cleared): the untitled one is gone, and so
    // is its recovery file.
    void setSessionURL(std::optional<QUrl> url);
    void noteRecentSession(const QUrl& url);

    MainViewController& main;
    Panels& panels;
    std::optional<QUrl> _sessionURL;
    QTimer keepTimer;
};
