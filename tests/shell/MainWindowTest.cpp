// The main window: menus and their shortcuts, Find, the status bar's diagnostics, the saved
// frame, and quitting through the close button.

#include "shell/MainWindow.h"

#include "shell/AppDelegate.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"

#include <QAction>
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

TEST(MainWindowTest, menusCarryTheUsualShortcuts) {
    AppDelegate delegate;
    MainWindow window(delegate);
    EXPECT_EQ(delegate.mainViewController(), &window.controller());
    const std::pair<const char*, const char*> expected[] = {
        {"New", "Ctrl+N"},   {"Open...", "Ctrl+O"}, {"Save As...", "Ctrl+Shift+S"},
        {"Close", "Ctrl+W"}, {"Quit", "Ctrl+Q"},
    };
    for (const auto& [item, keys] : expected) {
        QAction* action = findAction(window, "File", item);
        ASSERT_TRUE(action) << item;
        EXPECT_EQ(action->shortcut(), QKeySequence(keys)) << item;
    }
    EXPECT_FALSE(findAction(window, "File", "Properties...")->isEnabled());
    EXPECT_EQ(findAction(window, "Edit", "Undo"), window.controller().undoAction());
    EXPECT_EQ(findAction(window, "Edit", "Find")->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_FALSE(window.controller().undoAction()->isEnabled());
}

TEST(MainWindowTest, findFocusesTheSearchFieldWhoseTextFiltersTheTable) {
    AppDelegate delegate;
    MainWindow window(delegate);
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
