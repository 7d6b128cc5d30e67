#pragma once
// The main window's controller: owns the player, the break timer, the play log, the scrubber and
// the session, and the helpers that do the work (sessions, displays and tick, note editing, the
// table's commands, the transport). It holds the one rule by which the current entry changes,
// answers the player and the undo stacks, and keeps the run state and the window title.

#include "control/TransportHost.h"
#include "documents/ViewerWindows.h"
#include "model/Playlist.h"
#include "model/UndoListTarget.h"
#include "playback/Player.h"
#include "playback/PlayerDelegate.h"
#include "playback/RestTimer.h"
#include "playback/Scrubber.h"
#include "playback/SystemVolume.h"
#include "services/Exporter.h"
#include "services/Logger.h"
#include "table/EntryCommandHost.h"

#include <QDate>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>

class DisplayController;
class AudioMixer;
class EntryCommands;
class GameControllerSource;
class MainView;
class MediaCommands;
class NoteEditor;
class Panels;
class QAction;
class SessionController;
class SideDocumentStack;
class SoundEffect;
class TableKeyMonitor;
class TransportViewController;

class MainViewController : public QObject,
                           public EntryCommandHost,
                           public PlayerDelegate,
                           public UndoListTarget,
                           public TransportHost {
    Q_OBJECT
public:
    // The desktop services the controller reaches; each empty one means the real service (tests
    // pass their own).
    struct Services {
        std::function<void()> turnOnDoNotDisturb;
        std::shared_ptr<AudioMixer> mixer;
        std::function<std::unique_ptr<GameControllerSource>()> gameControllers;
        std::function<Qt::KeyboardModifiers()> heldModifiers;
    };

    // Everything that is not a widget is made here; `view` holds the widgets, `panels` asks
    // the user.
    MainViewController(MainView& view, Panels& panels, Services services = {},
                       QObject* parent = nullptr);
    ~MainViewController() override;

    // Starts the remote, goes into dance mode and comes back to the session, entry and position
    // of the last run (once, at first activation).
    void firstActivation();

    // EntryCommandHost and TransportHost
    Playlist& playlist() override { return *_playlist; }
    const PlaylistPtr& playlistPointer() const { return _playlist; }
    bool isPlaying() const override { return player.isPlaying(); }
    void setCurrentEntry(int row) override;
    void assignEntry(const PlaylistEntryPtr& entry) override;
    void playRefused(const PlaylistEntryPtr& entry) override;
    void updateDisplays() override;
    void entryMarksChanged(const PlaylistEntryPtr& entry) override;
    PlaylistEntryPtr assignedEntry() const override { return _playlist->assignedEntry; }
    PlaylistEntryPtr prevEntry() const override { return _prevEntry; }
    void clearPrevEntry() override { _prevEntry = nullptr; }
    float volume() const override { return _volume; }
    // Clamped to 0 … 1, applied to the player and to the computer's output (then unmuted), and
    // shown on the volume slider.
    void setVolume(float volume) override;
    void saveRunState() override;
    void restartIdle() override;
    RemoteControlDelegate* activeRemoteTarget() const override;
    void openDroppedSession(const QUrl& url) override;
    void clearSearch() override;

    // PlayerDelegate
    void playerStarted() override;
    void playerStopped() override;
    void playerDidFinish() override;
    void playerTimeChanged() override;
    void playerPreviewingChanged() override;

    // UndoListTarget
    void applyListState(const std::vector<PlaylistEntryPtr>& list,
                        const std::set<int>& selection) override;
    void undoMenuChanged() override;

    void updateWindowTitle();
    // "Dance" for Dance.varlin, "Varlin" without a session; a version ending in a letter (a
    // pre-release) adds itself and the build date; "► " leads while music plays.
    static QString windowTitle(const std::optional<QUrl>& sessionURL, const QString& version,
                               const QDate& buildDate, bool playing);
    // "Dance" for Dance.varlin; a session under another name keeps it whole.
    static QString sessionName(const QUrl& sessionURL);

    // The search field's text became `text` (the filter of the table).
    void search(const QString& text);
    // File > Export to Cloud: the checkmarked tracks are copied; when done, the status line
    // says how many were copied and how many skipped.
    void exportToCloud();
    // The space bar in the table.
    void togglePlayPause();
    // The Delete key in the table: the selected entries are removed.
    void removeSelectedEntries();
    // Opening a file from outside: audio Varlin can play is added at the top, a session replaces
    // the present one, anything else is reported and changes nothing.
    void openFile(const QUrl& url);
    // A note being typed is kept, as when the user clicks elsewhere (before quitting, too).
    void finishNoteEditing();

    // One diagnostic line on standard output, also shown in the status bar for a while.
    void reportProblem(const QString& line);

    // The session replaced whole: its undo stacks and its changes report here from now on.
    void replacePlaylist(std::shared_ptr<Playlist> playlist);
    void reloadTable();
    std::set<int> selectedRows() const;
    void selectRows(const std::set<int>& rows);

    // While music plays the run state is also written this often, so that a crash or a power
    // loss costs no more of the position.
    static constexpr std::chrono::seconds runStateInterval{5};

    Player player;
    RestTimer restTimer;
    Logger logger;
    // The current entry's PDF and MP4 viewers, closed whenever the current entry changes.
    ViewerWindows viewers;

    MainView& view() const { return _view; }
    SessionController& sessions() const { return *_sessions; }
    DisplayController& displays() const { return *_displays; }
    EntryCommands& entryCommands() const { return *_entryCommands; }
    TransportViewController& transport() const { return *_transport; }
    MediaCommands& mediaCommands() const { return *_mediaCommands; }
    SideDocumentStack& sideDocuments() const { return *_sideDocuments; }
    Scrubber* scrubber() const { return _scrubber.get(); }
    SystemVolume& computerVolume() { return systemVolume; }
    QAction* undoAction() const { return _undoAction; }
    QAction* redoAction() const { return _redoAction; }

signals:
    void windowTitleChanged(const QString& title);
    void statusMessage(const QString& line);
    // The filter was cleared from here: the search field empties.
    void searchCleared();
    // Prepare mode (previewing) began or ended.
    void previewingChanged(bool previewing);
    // Another entry (or none) became the current one.
    void currentEntryChanged();
    void volumeChanged();
    // The player's position was set (a seek).
    void positionJumped();

private:
    // The steps shared by setCurrentEntry and assignEntry once the old entry has been left.
    void makeCurrent(const PlaylistEntryPtr& entry);
    void leave(const PlaylistEntryPtr& entry, bool logged);
    void watchPlaylist();
    // Repaints the entry's whole row (its marks, or the mark of a file that cannot be played).
    void refreshRow(const PlaylistEntryPtr& entry);
    void scrollToCurrentRow();
    void flashSymbol(const QString& symbolName);
    void flashText(const QString& text);
    std::vector<PlaylistEntryPtr> selectedEntries() const;

    MainView& _view;
    Services services;
    SystemVolume systemVolume;
    float _volume = 0.5f;
    // The entry that last finished playing by itself.
    PlaylistEntryPtr _prevEntry;
    // The entry last made current here (loaded, or found unplayable), so that a restored session
    // that names it again does not open its file again.
    PlaylistEntryPtr madeCurrentEntry;
    std::shared_ptr<Playlist> _playlist = std::make_shared<Playlist>();
    std::unique_ptr<Scrubber> _scrubber;
    std::unique_ptr<SoundEffect> bell;
    QAction* _undoAction;
    QAction* _redoAction;
    EntryCommands* _entryCommands;
    DisplayController* _displays;
    NoteEditor* noteEditor;
    TransportViewController* _transport;
    std::unique_ptr<MediaCommands> _mediaCommands;
    SessionController* _sessions;
    TableKeyMonitor* keyMonitor;
    std::unique_ptr<SideDocumentStack> _sideDocuments;
    Exporter exporter;
    QTimer runStateTimer;
};
