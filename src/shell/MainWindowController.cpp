#include "shell/MainWindowController.h"

#include "control/MediaCommands.h"
#include "control/TransportViewController.h"
#include "platform/SymbolImage.h"
#include "playback/RestTimer.h"
#include "table/EntryCommands.h"
#include "shell/MainViewController.h"
#include "platform/Panels.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <chrono>

namespace {
QAction* tool(const QString& text, const char* symbol, const QString& tip, QObject* parent) {
    auto* action = new QAction(text, parent);
    if (symbol)
        action->setIcon(symbolIcon(QString::fromLatin1(symbol)));
    action->setToolTip(tip);
    return action;
}
} // namespace

MainWindowController::MainWindowController(MainViewController& main, Panels& panels,
                                           QWidget& window, Options options, QObject* parent)
    : QObject(parent), prepareTool(tool(tr("Prepare"), nullptr,
                                        tr("Prepare mode: rehearse without recording"), this)),
      danceTool(tool(tr("Dance"), nullptr, tr("Dance mode: the evening is live"), this)),
      playTool(tool(tr("Play"), "play.fill", tr("Play"), this)),
      pauseTool(tool(tr("Pause"), "pause.fill", tr("Pause"), this)),
      back1Tool(tool(tr("Back"), "gobackward.1", tr("Back 1 second"), this)),
      forward1Action(tool(tr("Forward"), "goforward.1", tr("Forward 1 second"), this)),
      markZeroTool(tool(tr("Mark Zero"), "z.square", tr("Mark a zero here"), this)),
      prevZeroTool(tool(tr("Previous Zero"), "backward.end.fill", tr("Previous zero"), this)),
      nextZeroTool(tool(tr("Next Zero"), "forward.end.fill", tr("Next zero"), this)),
      breakTool(tool(tr("Break"), "timer", tr("Start or stop the break timer"), this)),
      addEntryTool(
          tool(tr("Add Tracks..."), "plus", tr("Add tracks to the end of the list"), this)),
      removeEntryTool(tool(tr("Remove"), "minus", tr("Remove the selected tracks"), this)),
      choreodexAction(new QAction(tr("Choreodex"), this)), main(main), panels(panels),
      window(window), options(std::move(options)),
      choreodexPath(QStandardPaths::findExecutable(QStringLiteral("choreodex"))) {
    if (!this->options.secondsSinceMouseMoved)
        this->options.secondsSinceMouseMoved = [this] {
            return double(sinceMouseMoved.elapsed()) / 1000.0;
        };
    if (!this->options.windowIsActive)
        this->options.windowIsActive = [this] { return this->window.isActiveWindow(); };
    sinceMouseMoved.start();

    TransportViewController& transport = main.transport();
    connect(prepareTool, &QAction::triggered, this, &MainWindowController::actionPrepare);
    connect(danceTool, &QAction::triggered, this, &MainWindowController::actionDance);
    connect(playTool, &QAction::triggered, &transport, &TransportViewController::playCommand);
    connect(pauseTool, &QAction::triggered, &transport, &TransportViewController::pauseCommand);
    connect(back1Tool, &QAction::triggered, &transport, &TransportViewController::back1);
    connect(forward1Action, &QAction::triggered, &transport, &TransportViewController::forward1);
    connect(markZeroTool, &QAction::triggered, &transport, &TransportViewController::markZero);
    connect(prevZeroTool, &QAction::triggered, &transport, &TransportViewController::prevZero);
    connect(nextZeroTool, &QAction::triggered, &transport, &TransportViewController::nextZero);
    connect(breakTool, &QAction::triggered, &main.restTimer, &RestTimer::toggle);
    connect(addEntryTool, &QAction::triggered, this, &MainWindowController::actionAddEntry);
    connect(removeEntryTool, &QAction::triggered, &main,
            &MainViewController::removeSelectedEntries);
    removeEntryTool->setEnabled(!main.selectedRows().empty());
    connect(&main.entryCommands(), &EntryCommands::hasSelectionChanged, removeEntryTool,
            &QAction::setEnabled);
    // The table's keys (its key monitor runs them), shown in the menus. Bound to the item's own
    // widget only, so that the note and search fields keep their space, Z and arrows.
    const std::pair<QAction*, QKeySequence> tableKeys[] = {
        {playTool, QKeySequence(Qt::Key_Space)},
        {pauseTool, QKeySequence(Qt::Key_Space)},
        {markZeroTool, QKeySequence(Qt::Key_Z)},
        {prevZeroTool, QKeySequence(Qt::Key_Left)},
        {nextZeroTool, QKeySequence(Qt::Key_Right)}};
    for (const auto& [action, key] : tableKeys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    choreodexAction->setEnabled(!choreodexPath.isEmpty());
    choreodexAction->setToolTip(choreodexPath.isEmpty()
                                    ? tr("Install the choreodex program to use this command")
                                    : choreodexPath);
    connect(choreodexAction, &QAction::triggered, this, &MainWindowController::actionChoreodex);

    connect(&main, &MainViewController::previewingChanged, this,
            &MainWindowController::showModeImages);
    showModeImages();

    mouseTimer.setInterval(std::chrono::milliseconds(int(mouseTimeOut * 1000)));
    connect(&mouseTimer, &QTimer::timeout, this, &MainWindowController::hideMouse);
    mouseTimer.start();
    qApp->installEventFilter(this);
    window.installEventFilter(this);
}

MainWindowController::~MainWindowController() {
    showPointer();
}

void MainWindowController::actionDance() {
    main.player.setPreviewing(false);
    main.restartIdle();
}

void MainWindowController::actionPrepare() {
    main.player.setPreviewing(true);
    main.restTimer.disarm();
    main.restartIdle();
}

void MainWindowController::actionAddEntry() {
    panels.chooseFilesToAdd([this](const std::vector<QUrl>& urls) {
        if (urls.empty())
            return;
        const int end = int(main.playlist().entries().size());
        main.entryCommands().addFiles(urls, end, [this](std::optional<int> firstRow) {
            if (!firstRow)
                return;
            main.selectRows({*firstRow});
            main.setCurrentEntry(*firstRow);
        });
    });
}

void MainWindowController::actionChoreodex() {
    if (!choreodexPath.isEmpty() && !QProcess::startDetached(choreodexPath, {}))
        main.reportProblem(tr("Could not start %1").arg(choreodexPath));
}

QString MainWindowController::danceToolImage() const {
    return main.player.previewing() ? QStringLiteral("dance-inactive")
                                    : QStringLiteral("dance-active");
}

QString MainWindowController::prepareToolImage() const {
    return main.player.previewing() ? QStringLiteral("prepare-active")
                                    : QStringLiteral("prepare-inactive");
}

void MainWindowController::showModeImages() {
    danceTool->setIcon(symbolIcon(danceToolImage()));
    prepareTool->setIcon(symbolIcon(prepareToolImage()));
}

void MainWindowController::hideMouse() {
    if (_pointerHidden || options.secondsSinceMouseMoved() <= mouseTimeOut ||
        !options.windowIsActive())
        return;
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    _pointerHidden = true;
}

void MainWindowController::showPointer() {
    if (!_pointerHidden)
        return;
    QGuiApplication::restoreOverrideCursor();
    _pointerHidden = false;
}

bool MainWindowController::mediaKeyPressed(QObject* watched, const QKeyEvent& key) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && widget->window() == &window && !key.isAutoRepeat() &&
           main.mediaCommands().mediaKey(key.key());
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        sinceMouseMoved.restart();
        showPointer();
        break;
    case QEvent::KeyPress:
        return mediaKeyPressed(watched, static_cast<const QKeyEvent&>(*event));
    case QEvent::WindowActivate:
        if (watched == &window)
            main.restartIdle();
        break;
    case QEvent::WindowDeactivate:
        if (watched == &window)
            showPointer();
        break;
    default:
        break;
    }
    return false;
}
