#include "shell/MainViewController.h"

#include "control/MediaCommands.h"
#include "control/TransportPanel.h"
#include "control/TransportViewController.h"
#include "documents/SideDocumentStack.h"
#include "documents/SideDocumentStackView.h"
#include "model/AppState.h"
#include "platform/Diagnostics.h"
#include "platform/GameControllerSource.h"
#include "platform/SymbolImage.h"
#include "platform/audio/AudioFileTypes.h"
#include "playback/SoundEffect.h"
#include "services/Environment.h"
#include "services/Preferences.h"
#include "shell/DisplayController.h"
#include "shell/InterceptingTextField.h"
#include "shell/MainView.h"
#include "shell/NoteEditor.h"
#include "shell/SessionController.h"
#include "shell/SheetPanels.h"
#include "shell/WaveformView.h"
#include "stage/ImageNotifierView.h"
#include "stage/Screensaver.h"
#include "stage/TextNotifierView.h"
#include "table/EntryCommands.h"
#include "table/PlaylistTableModel.h"
#include "table/PlaylistTableView.h"
#include "table/TableKeyMonitor.h"
#include "table/TagMenu.h"
#include "waveform/TimeSlider.h"

#include <QAction>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>
#include <QStackedWidget>
#include <algorithm>

MainViewController::MainViewController(MainView& view, Panels& panels, Services services,
                                       QObject* parent)
    : QObject(parent), player([this](const QString& line) { logger.log(line); }),
      restTimer([] { return Preferences::shared().timerDuration(); }), _view(view),
      services(std::move(services)), systemVolume(this->services.mixer),
      bell(std::make_unique<SoundEffect>(
          QStringLiteral("bell.mp3"), [] { return Preferences::shared().restSoundAttenuation(); })),
      _undoAction(new QAction(tr("Undo"), this)), _redoAction(new QAction(tr("Redo"), this)),
      _entryCommands(new EntryCommands(*this, panels, this)),
      _displays(new DisplayController(view, player, *this, this)),
      noteEditor(new NoteEditor(
          *view.noteTextField, *_displays, player, *this, [&view] { view.tableView->setFocus(); },
          this)),
      _transport(new TransportViewController(
          player, restTimer, *this, *view.transportPanel,
          {this->services.turnOnDoNotDisturb, this->services.heldModifiers}, this)),
      _mediaCommands(std::make_unique<MediaCommands>(*_transport, player, *this)),
      _sessions(new SessionController(*this, panels, this)),
      keyMonitor(new TableKeyMonitor(view.tableView,
                                     {[this] { restartIdle(); }, [this] { togglePlayPause(); },
                                      [this] { _transport->markZero(); },
                                      [this] { _transport->prevZero(); },
                                      [this] { _transport->nextZero(); }, [this] { clearSearch(); },
                                      [this] { removeSelectedEntries(); }},
                                     this)),
      _sideDocuments(std::make_unique<SideDocumentStack>(
          panels, viewers,
          SideDocumentStack::Hooks{[this] { return selectedEntries(); },
                                   [&view](std::function<void(std::vector<QUrl>)> done) {
                                       SheetPanels::chooseDocuments(view.window(), std::move(done));
                                   },
                                   {}})) {
    connect(_sideDocuments.get(), &SideDocumentStack::documentsChanged, this,
            [this] { _playlist->dirty = true; });
    view.sideStack->addWidget(new SideDocumentStackView(*_sideDocuments, view.sideStack));
    connect(&restTimer, &RestTimer::rang, this, [this] { bell->play(); });
    _undoAction->setShortcut(QKeySequence::Undo);
    _redoAction->setShortcut(QKeySequence::Redo);
    connect(_undoAction, &QAction::triggered, this, [this] { _playlist->undoer.undo(); });
    connect(_redoAction, &QAction::triggered, this, [this] { _playlist->undoer.redo(); });
    connect(_transport, &TransportViewController::symbolFlashed, this,
            &MainViewController::flashSymbol);
    connect(_transport, &TransportViewController::textFlashed, this,
            &MainViewController::flashText);
    connect(_displays, &DisplayController::playedCellChanged, _entryCommands->model(),
            &PlaylistTableModel::refreshPlayed);
    connect(&view, &MainView::clickedElsewhere, this, &MainViewController::finishNoteEditing);
    runStateTimer.setInterval(runStateInterval);
    connect(&runStateTimer, &QTimer::timeout, this, &MainViewController::saveRunState);
    connect(&view, &MainView::resized, this, [this] {
        _displays->fitTimeFonts();
        scrollToCurrentRow();
    });
    connect(&view, &MainView::resizeEnded, this, [this] {
        _displays->fitTimeFonts();
        _view.waveformView->redraw();
        scrollToCurrentRow();
    });

    // The view is loaded: the order of the program's start-up.
    view.timeSlider->setPlayer(&player);
    view.timeSlider->scrubber = [this] { return _scrubber.get(); };
    view.timeSlider->updateDisplays = [this] { updateDisplays(); };
    player.delegate = this;
    logger.log(QStringLiteral("-------------------------"));
    watchPlaylist();
    updateDisplays();
    _displays->fitTimeFonts();
    view.tableView->setCommands(_entryCommands, view.tagMenu);
    connect(view.tagMenu, &TagMenu::tagChosen, _entryCommands, [this](const QString& tag) {
        _entryCommands->actionTagEntry(tag);
        updateDisplays();
    });
    connect(_entryCommands, &EntryCommands::hasSelectionChanged, view.tagMenu, &QMenu::setEnabled);
    // The break countdown shows on the screensaver's face too.
    view.screensaver->setRestTimer(&restTimer);
    view.screensaver->setIsMusicActive(
        [this] { return player.isPlaying() || player.previewing(); });
    view.screensaver->restartIdle();
    reloadTable();
    undoMenuChanged();
    updateWindowTitle();
}

MainViewController::~MainViewController() {
    player.delegate = nullptr;
    _playlist->dirty.onRaise = nullptr;
}

void MainViewController::firstActivation() {
    _transport->setUp(services.gameControllers ? services.gameControllers() : nullptr);
    player.setPreviewing(false);
    _sessions->restoreLastRun();
}

void MainViewController::setCurrentEntry(int row) {
    const PlaylistEntryPtr old = _playlist->assignedEntry;
    const PlaylistEntryPtr next = _playlist->entryAt(row);
    const bool same = old && next && *next == *old;
    // A session that was just read names its current entry before it has been made current
    // here; only an entry that has been (loaded, or found unplayable once) is left alone.
    if (same && madeCurrentEntry && *madeCurrentEntry == *old) {
        scrollToCurrentRow();
        return;
    }
    if (old && !same)
        leave(old, true);
    makeCurrent(next);
}

void MainViewController::assignEntry(const PlaylistEntryPtr& entry) {
    const PlaylistEntryPtr old = player.entry();
    if (old && entry && *entry == *old) {
        scrollToCurrentRow();
        return;
    }
    if (old)
        leave(old, false);
    makeCurrent(entry);
}

void MainViewController::leave(const PlaylistEntryPtr& entry, bool logged) {
    if (logged)
        logger.logPlayed(entry);
    entry->recordLeave();
    refreshRow(entry);
}

void MainViewController::refreshRow(const PlaylistEntryPtr& entry) {
    if (const std::optional<int> row = _playlist->indexOfEntry(entry)) {
        PlaylistTableModel* model = _entryCommands->model();
        emit model->dataChanged(model->index(*row, 0),
                                model->index(*row, PlaylistTableModel::ColumnCount - 1));
    }
}

void MainViewController::makeCurrent(const PlaylistEntryPtr& entry) {
    viewers.closeViewers();
    _sideDocuments->setCurrentEntry(entry);
    _playlist->assignedEntry = entry;
    madeCurrentEntry = entry;
    if (entry)
        entry->cachedTimeRangeIndex.reset();
    player.setEntry(entry);
    player.setVolume(_volume);
    // A file the player could not open is not opened again for scrubbing or the waveform.
    const std::optional<QUrl> playable =
        player.entry() ? std::optional(player.entry()->url()) : std::nullopt;
    _scrubber = std::make_unique<Scrubber>(&player, playable);
    _view.timeSlider->setEntry(entry);
    updateDisplays();
    saveRunState();
    _view.waveformView->showTrack(playable);
    if (entry)
        refreshRow(entry);
    scrollToCurrentRow();
    emit currentEntryChanged();
}

void MainViewController::playRefused(const PlaylistEntryPtr& entry) {
    refreshRow(entry);
    emit statusMessage(entry->playProblem.value_or(
        tr("%1 cannot be played").arg(PlaylistTableModel::titleOf(*entry))));
}

void MainViewController::scrollToCurrentRow() {
    if (const std::optional<int> row = _playlist->currentItem())
        _view.tableView->scrollTo(_entryCommands->model()->index(*row, 0));
}

void MainViewController::updateDisplays() {
    _displays->updateDisplays();
}

void MainViewController::entryMarksChanged(const PlaylistEntryPtr& entry) {
    if (entry == _playlist->assignedEntry)
        _view.timeSlider->setEntry(entry);
}

void MainViewController::setVolume(float volume) {
    _volume = std::clamp(volume, 0.0f, 1.0f);
    player.setVolume(_volume);
    systemVolume.followVolume(_volume);
    _view.transportPanel->setVolumeValue(_volume);
    emit volumeChanged();
}

RemoteControlDelegate* MainViewController::activeRemoteTarget() const {
    return viewers.activeRemoteTarget();
}

void MainViewController::openDroppedSession(const QUrl& url) {
    _sessions->openSessionReplacing(url);
}

void MainViewController::clearSearch() {
    emit searchCleared();
    search(QString());
}

void MainViewController::search(const QString& text) {
    _playlist->filterText = text;
    reloadTable();
}

void MainViewController::exportToCloud() {
    // Cancelled when there is nothing to export; the exporter has said why.
    exporter.exportPlaylist(*_playlist, _sessions->sessionURL())
        .then(this, [this](Exporter::Counts counts) {
            emit statusMessage(
                tr("Exported %1, skipped %2").arg(counts.copied).arg(counts.skipped));
        });
}

void MainViewController::togglePlayPause() {
    if (player.isPlaying())
        _transport->pauseCommand();
    else
        _transport->playCommand();
}

void MainViewController::removeSelectedEntries() {
    _entryCommands->removeSelectedItems();
}

void MainViewController::openFile(const QUrl& url) {
    printLine(url.toString());
    const QFileInfo file(url.toLocalFile());
    const bool namedSession = file.suffix() == QLatin1String("varlin");
    if (!namedSession && isReadableAudioFile(url.toLocalFile())) {
        _entryCommands->addFiles({url}, 0);
        return;
    }
    // Read before the present session is put away, so that a file that is no session leaves
    // it in place.
    QString reason;
    if (Playlist::open(url, &reason))
        _sessions->openSessionReplacing(url);
    else if (!file.exists())
        reportProblem(tr("%1: no such file").arg(file.fileName()));
    else if (namedSession)
        reportProblem(reason);
    else
        reportProblem(
            tr("%1: not a Varlin session and not audio Varlin can play").arg(file.fileName()));
}

void MainViewController::finishNoteEditing() {
    _view.noteTextField->finishEditing();
}

void MainViewController::playerStarted() {
    // Counted from the start of play, so the written position is never more than one interval
    // behind the music.
    if (!runStateTimer.isActive())
        runStateTimer.start();
    _prevEntry = nullptr;
    restartIdle();
    updateWindowTitle();
}

void MainViewController::playerStopped() {
    runStateTimer.stop();
    restartIdle();
    updateWindowTitle();
}

void MainViewController::playerDidFinish() {
    if (!player.previewing())
        restTimer.arm();
    _prevEntry = player.entry();
    const std::optional<int> finished = _playlist->indexOfEntry(_prevEntry);
    std::set<int> selection = selectedRows();
    if (finished)
        selection.erase(*finished);
    if (selection.empty()) {
        selectRows({});
        if (finished) {
            const int next = *finished + 1;
            if (next < int(_playlist->entries().size()))
                selectRows({next});
            setCurrentEntry(next);
        }
    } else {
        // The user chose the next entry while this one played: it starts at once.
        const int chosen = *selection.begin();
        selectRows({chosen});
        setCurrentEntry(chosen);
        _transport->playCommand();
    }
    restartIdle();
    _sessions->saveSessionQuietly();
}

void MainViewController::playerTimeChanged() {
    updateDisplays();
    emit positionJumped();
}

void MainViewController::playerPreviewingChanged() {
    emit previewingChanged(player.previewing());
}

void MainViewController::applyListState(const std::vector<PlaylistEntryPtr>&,
                                        const std::set<int>& selection) {
    reloadTable();
    // Of the rows the edit selected, the first alone stays selected and becomes current. While
    // music plays it waits as the next entry, as any selection does: editing the list during a
    // dance must not cut off the track on the floor.
    if (selection.empty()) {
        selectRows({});
    } else {
        const int first = *selection.begin();
        selectRows({first});
        if (!player.isPlaying())
            setCurrentEntry(first);
    }
    updateDisplays();
}

void MainViewController::undoMenuChanged() {
    const Undoer& undoer = _playlist->undoer;
    _undoAction->setEnabled(undoer.canUndo());
    _undoAction->setText(undoer.undoTitle());
    _redoAction->setEnabled(undoer.canRedo());
    _redoAction->setText(undoer.redoTitle());
}

void MainViewController::saveRunState() {
    AppState state;
    state.playlistURL = _sessions ? _sessions->sessionURL() : std::nullopt;
    state.currentTime = player.currentTime();
    if (const PlaylistEntryPtr& assigned = _playlist->assignedEntry) {
        const auto& all = _playlist->allEntries;
        const auto found = std::find_if(all.begin(), all.end(),
                                        [&](const PlaylistEntryPtr& e) { return *e == *assigned; });
        if (found != all.end())
            state.currentEntryIndex = qint64(found - all.begin());
    }
    if (const auto& entry = player.entry()) {
        state.currentTimeRangeSet = entry->currentTimeRangeSet;
        state.zeros = entry->zeros;
    }
    if (state.playlistURL) {
        state.write();
    } else {
        AppState::remove();
        // An untitled session has no run state: its recovery copy keeps the place instead.
        if (_sessions)
            _sessions->sessionChanged();
    }
}

void MainViewController::updateWindowTitle() {
    const QString title =
        windowTitle(_sessions ? _sessions->sessionURL() : std::nullopt, Environment::appVersion(),
                    Environment::buildDate(), player.isPlaying());
    _view.window()->setWindowTitle(title);
    emit windowTitleChanged(title);
}

QString MainViewController::windowTitle(const std::optional<QUrl>& sessionURL,
                                        const QString& version, const QDate& buildDate,
                                        bool playing) {
    QString suffix;
    if (!version.isEmpty() && version.back().isLetter())
        suffix = QLatin1Char(' ') + version + QLatin1Char(' ') +
                 QLocale().toString(buildDate.isValid() ? buildDate : QDate::currentDate(),
                                    QLocale::ShortFormat);
    const QString base = sessionURL ? sessionName(*sessionURL) : QStringLiteral("Varlin");
    return (playing ? QStringLiteral("► ") : QString()) + base + suffix;
}

QString MainViewController::sessionName(const QUrl& sessionURL) {
    QString name = sessionURL.fileName();
    if (name.endsWith(QLatin1String(".varlin")))
        name.chop(7);
    return name;
}

void MainViewController::reportProblem(const QString& line) {
    printLine(line);
    emit statusMessage(line);
}

void MainViewController::replacePlaylist(std::shared_ptr<Playlist> playlist) {
    _entryCommands->cancelAdding();
    _playlist->undoer.setTarget(nullptr);
    _playlist->dirty.onRaise = nullptr;
    _playlist = std::move(playlist);
    watchPlaylist();
    undoMenuChanged();
}

void MainViewController::watchPlaylist() {
    _playlist->undoer.setTarget(this);
    _playlist->dirty.onRaise = [this] { _sessions->sessionChanged(); };
}

void MainViewController::reloadTable() {
    _entryCommands->reloadTable();
}

std::set<int> MainViewController::selectedRows() const {
    return _entryCommands->selectedRows();
}

void MainViewController::selectRows(const std::set<int>& rows) {
    _entryCommands->selectRows(rows);
}

std::vector<PlaylistEntryPtr> MainViewController::selectedEntries() const {
    std::vector<PlaylistEntryPtr> entries;
    for (const int row : selectedRows())
        if (PlaylistEntryPtr entry = _playlist->entryAt(row))
            entries.push_back(std::move(entry));
    return entries;
}

void MainViewController::flashSymbol(const QString& symbolName) {
    _view.imageNotifierView->show(symbolImage(symbolName, _view.size()));
}

void MainViewController::flashText(const QString& text) {
    _view.textNotifierView->show(text);
}

void MainViewController::restartIdle() {
    _view.screensaver->restartIdle();
}
