// The main window: menus and their shortcuts, Find, the status bar's diagnostics, the saved
// frame, the keys with the table from the start, and quitting through the close button.

#include "shell/MainWindow.h"

#include "model/AppState.h"
#include "model/TextNoteSet.h"
#include "services/Preferences.h"
#include "shell/AppDelegate.h"
#include "shell/InterceptingTextField.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"
#include "table/PlaylistTableView.h"
#include "testaudio/TestAudio.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QAction* findAction(const QMainWindow& window, const QString& menu, const QString& item) {
    for (QAction* top : window.menuBar()->actions())
        if (top->text().remove('&') == menu && top->menu())
            for (QAction* action : top->menu()->actions())
                if (action->text() == item)
                    return action;
    return nullptr;
}
} // namespace

TEST(MainWindowTest, menusCarryTheUsualShortcutsAndFindFiltersTheTable) {
    AppDelegate delegate;
    MainWindow window(delegate);
    EXPECT_EQ(delegate.mainViewController(), &window.controller());
    EXPECT_EQ(findAction(window, "File", "Save As...")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(findAction(window, "Window", "PDF Viewer")->shortcut(), QKeySequence("Ctrl+2"));
    EXPECT_EQ(findAction(window, "Edit", "Undo"), window.controller().undoAction());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    findAction(window, "Edit", "Find")->trigger();
    EXPECT_TRUE(window.searchField()->hasFocus());
    QTest::keyClicks(window.searchField(), "walt");
    EXPECT_EQ(window.controller().playlist().filterText, QStringLiteral("walt"));
    window.controller().clearSearch();
    EXPECT_TRUE(window.searchField()->text().isEmpty());
    EXPECT_TRUE(window.controller().playlist().filterText.isEmpty());
}

TEST(MainWindowTest, itemsWaitForSomethingToActOnAndControlsShowTheTableKeys) {
    AppDelegate delegate;
    MainWindow window(delegate);
    const std::pair<const char*, const char*> tableKeys[] = {{"Play", "Space"},
                                                             {"Pause", "Space"},
                                                             {"Mark Zero", "Z"},
                                                             {"Previous Zero", "Left"},
                                                             {"Next Zero", "Right"}};
    for (const auto& [item, key] : tableKeys)
        EXPECT_EQ(findAction(window, "Controls", item)->shortcut(), QKeySequence(key)) << item;

    const auto enabled = [&](const char* menu, const char* item) {
        return findAction(window, menu, item)->isEnabled();
    };
    const std::pair<const char*, const char*> selectionItems[] = {
        {"Entry", "Clear Zeros"}, {"Entry", "Played Today"}, {"Edit", "Remove"}};
    for (const auto& [menu, item] : selectionItems)
        EXPECT_FALSE(enabled(menu, item)) << item << " with nothing selected";
    EXPECT_FALSE(enabled("Entry", "File Moved...")) << "without a current entry";
    MainViewController& controller = window.controller();
    controller.playlist().allEntries.push_back(
        std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/m/a.mp3"), 60.0));
    controller.reloadTable();
    controller.selectRows({0});
    for (const auto& [menu, item] : selectionItems)
        EXPECT_TRUE(enabled(menu, item)) << item << " with a row selected";

    EXPECT_FALSE(enabled("Window", "PDF Viewer"));
    EXPECT_FALSE(enabled("Window", "MP4 Viewer"));
    controller.viewers.openPdf(QUrl::fromLocalFile("/m/cues.pdf"));
    EXPECT_TRUE(enabled("Window", "PDF Viewer"));
    EXPECT_FALSE(enabled("Window", "MP4 Viewer"));
    controller.viewers.closeViewers();
    EXPECT_FALSE(enabled("Window", "PDF Viewer"));
}

TEST(MainWindowTest, aProblemShowsInTheStatusBarAndTheFrameIsKeptOnClose) {
    QTemporaryDir dir;
    AppDelegate delegate;
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    {
        MainWindow window(delegate);
        window.controller().sessions().openSessionAt(
            QUrl::fromLocalFile(dir.filePath("missing.varlin")));
        EXPECT_TRUE(window.statusBar()->currentMessage().contains("missing.varlin"));

        window.resize(1111, 666);
        window.close();
        EXPECT_EQ(terminating.size(), 1) << "an empty session quits at once";
    }
    MainWindow again(delegate);
    EXPECT_EQ(again.size(), QSize(1111, 666));
    EXPECT_TRUE(QSettings().contains(MainWindow::frameKey));
}

TEST(MainWindowTest, exportToCloudSaysHowManyFilesWereCopiedAndSkipped) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("cloud"));
    Preferences::shared().setCloudFolder(dir.filePath("cloud"));
    Playlist saved;
    for (const char* name : {"a.mp3", "b.mp3", "gone.mp3"}) {
        if (QString(name) != "gone.mp3")
            QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
        auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(dir.filePath(name)), 60.0);
        entry->isCheckmarked = true;
        saved.allEntries.push_back(entry);
    }
    const QUrl url = QUrl::fromLocalFile(dir.filePath("Friday.varlin"));
    ASSERT_TRUE(saved.save(url));

    AppDelegate delegate;
    MainWindow window(delegate);
    window.controller().sessions().openSessionAt(url);
    QSignalSpy finished(&window.controller(), &MainViewController::statusMessage);
    findAction(window, "File", "Export to Cloud")->trigger();
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(window.statusBar()->currentMessage(), "Exported 2, skipped 1");
    EXPECT_TRUE(QFile::exists(dir.filePath("cloud/Documents/Friday/b.mp3")));
}

TEST(MainWindowTest, theTableHasTheKeysAtStartAndQuittingKeepsANoteBeingTyped) {
    QTemporaryDir dir;
    const QString track = dir.filePath("tune.wav");
    testaudio::Spec spec;
    spec.signal = testaudio::Signal::Silence;
    spec.sampleRate = 8000;
    spec.channels = 1;
    ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Wav, track, nullptr));
    Playlist saved;
    saved.allEntries.push_back(std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(track), 1.0));
    const QUrl url = QUrl::fromLocalFile(dir.filePath("Dance.varlin"));
    ASSERT_TRUE(saved.save(url));
    AppState state;
    state.playlistURL = url;
    state.currentEntryIndex = 0;
    ASSERT_TRUE(state.write());

    AppDelegate delegate;
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    {
        MainWindow window(delegate);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QCoreApplication::processEvents();
        const MainView& view = window.mainView();
        ASSERT_TRUE(window.controller().playlist().assignedEntry) << "the last run came back";
        EXPECT_EQ(QApplication::focusWidget(), view.tableView);

        QTest::mouseClick(view.noteTextField, Qt::LeftButton);
        QTest::keyClicks(view.noteTextField, QStringLiteral("Swing"));
        window.close();
        EXPECT_EQ(terminating.size(), 1);
        EXPECT_FALSE(view.noteTextField->editing());
    }
    // The window is gone without touching what it tore down.
    QFile notes(TextNoteSet::textURLFor(QUrl::fromLocalFile(track)).toLocalFile());
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(notes.readAll().contains(" 0:00 Swing\n"));
}
