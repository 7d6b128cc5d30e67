// The main window: menus and their shortcuts, Find, the status bar's messages, the saved frame,
// the keys with the table from the start, and quitting through the close button.

#include "shell/MainWindow.h"

#include "model/AppState.h"
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
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

class MainWindowTest : public testing::Test {
protected:
    // A saved session of the named tracks, all checked; a name starting "gone" is not written.
    QUrl saveSession(const QStringList& tracks) {
        Playlist saved;
        for (const QString& name : tracks) {
            const QString path = dir.filePath(name);
            if (!name.startsWith(QLatin1String("gone"))) {
                EXPECT_TRUE(testaudio::write({}, testaudio::Container::Wav, path));
            }
            saved.allEntries.push_back(
                std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 1.0));
            saved.allEntries.back()->isCheckmarked = true;
        }
        const QUrl url = QUrl::fromLocalFile(dir.filePath("Friday.varlin"));
        EXPECT_TRUE(saved.save(url));
        return url;
    }
    static QAction* findAction(const QMainWindow& window, const QString& menu,
                               const QString& item) {
        for (QAction* top : window.menuBar()->actions())
            if (top->text().remove('&') == menu && top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == item)
                        return action;
        return nullptr;
    }

    QTemporaryDir dir;
    AppDelegate delegate;
    QSignalSpy terminating{&delegate, &AppDelegate::terminating};
};

TEST_F(MainWindowTest, menusCarryTheUsualShortcutsAndFindFiltersTheTable) {
    MainWindow window(delegate);
    EXPECT_EQ(delegate.mainViewController(), &window.controller());
    EXPECT_EQ(findAction(window, "File", "Save As...")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(findAction(window, "Window", "PDF Viewer")->shortcut(), QKeySequence("Ctrl+2"));
    EXPECT_EQ(findAction(window, "Edit", "Undo"), window.controller().undoAction());
    for (const auto& [item, key] : {std::pair{"Play", "Space"},
                                    {"Mark Zero", "Z"},
                                    {"Previous Zero", "Left"},
                                    {"Next Zero", "Right"}})
        EXPECT_EQ(findAction(window, "Controls", item)->shortcut(), QKeySequence(key)) << item;

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

TEST_F(MainWindowTest, itemsWaitForSomethingToActOn) {
    MainWindow window(delegate);
    const auto enabled = [&](const char* menu, const char* item) {
        return findAction(window, menu, item)->isEnabled();
    };
    EXPECT_FALSE(enabled("Entry", "Clear Zeros") || enabled("Edit", "Remove") ||
                 enabled("Entry", "File Moved..."));
    MainViewController& controller = window.controller();
    controller.playlist().allEntries.push_back(
        std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/m/a.mp3"), 60.0));
    controller.reloadTable();
    controller.selectRows({0});
    EXPECT_TRUE(enabled("Entry", "Clear Zeros") && enabled("Edit", "Remove"));

    controller.viewers.openPdf(QUrl::fromLocalFile("/m/cues.pdf"));
    EXPECT_TRUE(enabled("Window", "PDF Viewer"));
    EXPECT_FALSE(enabled("Window", "MP4 Viewer"));
    controller.viewers.closeViewers();
    EXPECT_FALSE(enabled("Window", "PDF Viewer"));
}

TEST_F(MainWindowTest, theStatusBarSaysWhatWentWrongAndWhatAnExportDid) {
    Preferences::shared().setCloudFolder(dir.path());
    const QUrl url = saveSession({"a.wav", "gone.wav"});
    MainWindow window(delegate);
    window.controller().sessions().openSessionAt(QUrl::fromLocalFile(dir.filePath("no.varlin")));
    EXPECT_TRUE(window.statusBar()->currentMessage().contains("no.varlin"));

    window.controller().sessions().openSessionAt(url);
    QSignalSpy finished(&window.controller(), &MainViewController::statusMessage);
    findAction(window, "File", "Export to Cloud")->trigger();
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(window.statusBar()->currentMessage(), "Exported 1, skipped 1");
}

TEST_F(MainWindowTest, theFrameIsKeptOnClose) {
    {
        MainWindow window(delegate);
        window.resize(1111, 666);
        window.close();
        EXPECT_EQ(terminating.size(), 1) << "an empty session quits at once";
    }
    MainWindow again(delegate);
    EXPECT_EQ(again.size(), QSize(1111, 666));
}

TEST_F(MainWindowTest, theTableHasTheKeysAtStartAndQuittingKeepsANoteBeingTyped) {
    AppState state;
    state.playlistURL = saveSession({"tune.wav"});
    state.currentEntryIndex = 0;
    ASSERT_TRUE(state.write());
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
    QFile notes(dir.filePath("tune.txt"));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(notes.readAll().contains(" 0:00 Swing\n"));
}
