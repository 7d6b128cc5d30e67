#include "shell/MainWindow.h"

#include "platform/Desktop.h"
#include "playback/RestTimer.h"
#include "documents/AboutViewController.h"
#include "shell/AppDelegate.h"
#include "table/EntryCommands.h"
#include "documents/HelpViewController.h"
#include "documents/ScreenFit.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/MainWindowController.h"
#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"
#include "table/PlaylistTableView.h"
#include "shell/PreferencesDialog.h"
#include "shell/PropertiesDialog.h"
#include "shell/SessionController.h"
#include "table/TagMenu.h"
#include "stage/Clock.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

MainWindow::MainWindow(AppDelegate& delegate, QWidget* parent)
    : QMainWindow(parent), delegate(delegate), view(new MainView(this)), panels(this) {
    setCentralWidget(view);
    _controller = std::make_unique<MainViewController>(*view, panels);
    _windowController = std::make_unique<MainWindowController>(*_controller, panels, *this);
    delegate.setMainViewController(_controller.get());

    buildToolbar();
    buildMenus();
    statusBar();
    connect(_controller.get(), &MainViewController::statusMessage, this,
            [this](const QString& line) { statusBar()->showMessage(line, statusSeconds * 1000); });
    EntryCommands& commands = _controller->entryCommands();
    connect(&commands, &EntryCommands::addingProgress, this, [this](int done, int total) {
        statusBar()->showMessage(tr("Adding tracks: %1 of %2").arg(done).arg(total));
    });
    connect(&commands, &EntryCommands::addingFinished, statusBar(), &QStatusBar::clearMessage);
    connect(&delegate, &AppDelegate::activationRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });

    if (!restoreGeometry(QSettings().value(frameKey).toByteArray()))
        resizeToFit(*this, QSize(1280, 720));
    _controller->updateWindowTitle();
}

MainWindow::~MainWindow() {
    delegate.setMainViewController(nullptr);
    _windowController.reset();
    _controller.reset();
}

namespace {
// Dialogs over the window that go away once closed.
void openSheet(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

QKeySequence windowMenuShortcut(const char* key) {
    return QKeySequence(QStringLiteral("Ctrl+") + QLatin1String(key));
}
} // namespace

void MainWindow::buildToolbar() {
    QToolBar* toolbar = addToolBar(tr("Toolbar"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(28, 28));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    MainWindowController& tools = *_windowController;
    toolbar->addAction(tools.prepareTool);
    toolbar->addAction(tools.danceTool);
    toolbar->addSeparator();

    _searchField = new QLineEdit(toolbar);
    _searchField->setPlaceholderText(tr("Search"));
    _searchField->setClearButtonEnabled(true);
    _searchField->setMaximumWidth(260);
    toolbar->addWidget(_searchField);
    connect(_searchField, &QLineEdit::textChanged, _controller.get(), &MainViewController::search);
    connect(_controller.get(), &MainViewController::searchCleared, _searchField, [this] {
        const QSignalBlocker quiet(_searchField);
        _searchField->clear();
    });
    toolbar->addSeparator();
    toolbar->addActions({tools.playTool, tools.pauseTool, tools.back1Tool, tools.markZeroTool,
                         tools.prevZeroTool, tools.nextZeroTool});
    toolbar->addSeparator();
    toolbar->addAction(tools.breakTool);
    toolbar->addSeparator();
    toolbar->addActions({tools.addEntryTool, tools.removeEntryTool});

    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    auto* clock = new Clock(toolbar);
    clock->setRestTimer(&_controller->restTimer);
    clock->setClockVisible(true);
    clock->ensureTimer();
    clock->setFixedSize(44, 44);
    toolbar->addWidget(clock);
}

void MainWindow::buildMenus() {
    SessionController& sessions = _controller->sessions();
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("New"), QKeySequence(QStringLiteral("Ctrl+N")), &sessions,
                    &SessionController::newSession);
    file->addAction(tr("Open..."), QKeySequence(QStringLiteral("Ctrl+O")), &sessions,
                    &SessionController::openSession);
    recentMenu = file->addMenu(tr("Open Recent"));
    connect(recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    file->addSeparator();
    file->addAction(tr("Save As..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")), &sessions,
                    &SessionController::saveAsSession);
    file->addAction(tr("Close"), QKeySequence(QStringLiteral("Ctrl+W")), &sessions,
                    &SessionController::closeSession);
    file->addSeparator();
    file->addAction(tr("Export to Cloud"), _controller.get(), &MainViewController::exportToCloud);
    file->addAction(tr("Properties..."), this, [this] {
        openSheet(new PropertiesDialog(
            _controller->playlistPointer(), [this] { _controller->reloadTable(); }, this));
    });
    file->addAction(tr("Preferences..."), QKeySequence(QStringLiteral("Ctrl+,")), this,
                    [this] { openSheet(new PreferencesDialog(this)); });
    file->addSeparator();
    QAction* quit =
        file->addAction(tr("Quit"), QKeySequence(QStringLiteral("Ctrl+Q")), this, &QWidget::close);
    quit->setMenuRole(QAction::QuitRole);

    const EntryCommands::Actions& entry = _controller->entryCommands().actions();
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(_controller->undoAction());
    edit->addAction(_controller->redoAction());
    edit->addSeparator();
    edit->addAction(entry.copyContextItems);
    edit->addAction(entry.copyReport);
    edit->addAction(entry.removeSelectedItems);
    edit->addSeparator();
    edit->addAction(tr("Find"), QKeySequence(QStringLiteral("Ctrl+F")), this, [this] {
        _searchField->setFocus();
        _searchField->selectAll();
    });

    QMenu* entries = menuBar()->addMenu(tr("E&ntry"));
    connect(entries, &QMenu::aboutToShow, &_controller->entryCommands(),
            &EntryCommands::updateActions);
    entries->addActions(_controller->entryCommands().entryMenuActions());
    entries->addSeparator();
    QMenu* tags = entries->addMenu(tr("Tags"));
    tags->addActions(view->tagMenu->actions());

    MainWindowController& tools = *_windowController;
    QMenu* controls = menuBar()->addMenu(tr("&Controls"));
    controls->addActions({tools.playTool, tools.pauseTool, tools.back1Tool, tools.forward1Action});
    controls->addSeparator();
    controls->addActions({tools.markZeroTool, tools.prevZeroTool, tools.nextZeroTool});
    controls->addSeparator();
    controls->addAction(tools.breakTool);
    controls->addSeparator();
    controls->addActions({tools.danceTool, tools.prepareTool});
    entries->insertAction(entries->actions().value(0), tools.addEntryTool);

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("Minimize"), QKeySequence(QStringLiteral("Ctrl+M")), this,
                      &QWidget::showMinimized);
    window->addSeparator();
    window->addAction(tr("Varlin"), QKeySequence(QStringLiteral("Ctrl+1")), this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    ViewerWindows& viewers = _controller->viewers;
    QAction* pdfViewer =
        window->addAction(tr("PDF Viewer"), windowMenuShortcut(PdfViewController::windowMenuKey),
                          this, [&viewers] { viewers.raisePdfViewer(); });
    QAction* mp4Viewer =
        window->addAction(tr("MP4 Viewer"), windowMenuShortcut(Mp4ViewController::windowMenuKey),
                          this, [&viewers] { viewers.raiseMp4Viewer(); });
    // Enabled while the current entry has that viewer open (its window may be closed). The
    // items are watched: the viewers may close while the window is being taken down.
    viewers.changed = [&viewers, pdf = QPointer(pdfViewer), mp4 = QPointer(mp4Viewer)] {
        if (pdf)
            pdf->setEnabled(viewers.pdfViewController() != nullptr);
        if (mp4)
            mp4->setEnabled(viewers.mp4ViewController() != nullptr);
    };
    viewers.changed();
    window->addSeparator();
    window->addAction(tr("View Log"), this, [this] {
        if (!Desktop::openFile(_controller->logger.url))
            _controller->reportProblem(tr("No application opens the log"));
    });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("Help"), this, [] { HelpViewController::openPdfHelp(Desktop::openFile); });
    help->addAction(tr("Varlin Guide"), this, [this] { guide().show(); });
    help->addAction(tr("Remote Manual"), this, [this] { guide().showRemoteSection(); });
    help->addAction(tools.choreodexAction);
    help->addSeparator();
    help->addAction(tr("About Varlin"), this, [this] {
        if (!aboutWindow)
            aboutWindow = std::make_unique<AboutViewController>([this] { guide().show(); });
        aboutWindow->show();
    });
}

HelpViewController& MainWindow::guide() {
    if (!guideWindow)
        guideWindow = std::make_unique<HelpViewController>();
    return *guideWindow;
}

void MainWindow::fillRecentMenu() {
    SessionController& sessions = _controller->sessions();
    recentMenu->clear();
    for (const QString& path : sessions.recentSessions())
        recentMenu
            ->addAction(
                QFileInfo(path).completeBaseName(), this,
                [&sessions, path] { sessions.openSessionReplacing(QUrl::fromLocalFile(path)); })
            ->setToolTip(path);
    recentMenu->addSeparator();
    recentMenu->addAction(tr("Clear Menu"), &sessions, &SessionController::clearRecentSessions);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The keys go to the table from the start (space plays), not to the first field that takes
    // the focus, which would be the note field: typing there starts a note and pauses.
    if (!event->spontaneous())
        view->tableView->setFocus();
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidBecomeActive);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QSettings().setValue(frameKey, saveGeometry());
    // The delegate ends the application once the session is saved.
    event->ignore();
    delegate.requestQuit();
}
