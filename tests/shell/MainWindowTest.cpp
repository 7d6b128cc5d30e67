// The main window: Find, menu items that wait for something to act on, and the frame kept over a
// quit. The keys with the table from the start, a note typed before quitting and the status bar's
// reasons are driven through the running program in tests/e2e (evening.py, newcomer.py).

#include "shell/MainWindow.h"

#include "shell/AppDelegate.h"
#include "shell/MainViewController.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
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

TEST(MainWindow, findFiltersTheTableAndItemsWaitForSomethingToActOn) {
    AppDelegate delegate;
    MainWindow window(delegate);
    MainViewController& controller = window.controller();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    findAction(window, "Edit", "Find")->trigger();
    EXPECT_TRUE(window.searchField()->hasFocus());
    QTest::keyClicks(window.searchField(), "walt");
    EXPECT_EQ(controller.playlist().filterText, QStringLiteral("walt"));
    controller.clearSearch();
    EXPECT_TRUE(window.searchField()->text().isEmpty());

    const auto enabled = [&](const char* menu, const char* item) {
        return findAction(window, menu, item)->isEnabled();
    };
    EXPECT_FALSE(enabled("Entry", "Clear Zeros") || enabled("Edit", "Remove"));
    controller.playlist().allEntries.push_back(
        std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/m/a.mp3"), 60.0));
    controller.reloadTable();
    controller.selectRows({0});
    EXPECT_TRUE(enabled("Entry", "Clear Zeros") && enabled("Edit", "Remove"));
    controller.viewers.openPdf(QUrl::fromLocalFile("/m/cues.pdf"));
    EXPECT_TRUE(enabled("Window", "PDF Viewer") && !enabled("Window", "MP4 Viewer"));
    controller.viewers.closeViewers();
    EXPECT_FALSE(enabled("Window", "PDF Viewer"));
}

TEST(MainWindow, theFrameIsKeptOnClose) {
    AppDelegate delegate;
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    {
        MainWindow window(delegate);
        window.resize(1111, 666);
        window.close();
        EXPECT_EQ(terminating.size(), 1) << "an empty session quits at once";
    }
    MainWindow again(delegate);
    EXPECT_EQ(again.size(), QSize(1111, 666));
}
