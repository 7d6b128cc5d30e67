#pragma once
// The session flow of the main window: opening a session file (with the run state of the last
// run when it names the same file), saving before the session is replaced, Save As, New, Open,
// Close and Open Recent, and the save that quitting waits for. Sessions are saved, never asked
// about; a file that cannot be opened or written is reported in one line and nothing is lost.

#include <QObject>
#include <QStringList>
#include <QUrl>
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

    SessionController(MainViewController& main, Panels& panels, QObject* parent = nullptr);

    // None while the session has never been saved.
    const std::optional<QUrl>& sessionURL() const { return _sessionURL; }

    // The folder of the run state, the play log and the session panels (created when missing).
    static QString applicationFolder();

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
    void saveAsSheet(std::function<void()> continuation);
    // Writes the playlist at its position to `url`; reports a failure.
    bool writeSession(const QUrl& url);
    void setSessionURL(std::optional<QUrl> url);
    void noteRecentSession(const QUrl& url);

    MainViewController& main;
    Panels& panels;
    std::optional<QUrl> _sessionURL;
};
