#include "stage/Screensaver.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

// That previewing stops the countdown is tested through the main window's controller; that
// movement over another window leaves the cover has no test of its own.
TEST(Screensaver, CoversTheWindowUntilTheNextActionOrMouseMovement) {
    QWidget window;
    window.resize(1366, 768);
    QLabel content(&window);
    content.setGeometry(0, 0, 400, 300);
    Screensaver saver(&window);
    bool musicActive = false;
    saver.setIsMusicActive([&musicActive] { return musicActive; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    saver.restartIdle();
    EXPECT_TRUE(saver.saverTimer().isActive());
    saver.activate();
    EXPECT_FALSE(saver.saverTimer().isActive());
    EXPECT_TRUE(saver.isVisible() && saver.isClockVisible());
    EXPECT_EQ(window.children().last(), &saver) << "above the window's content";
    // A press that starts the music must uncover the window, not leave the clock over it.
    musicActive = true;
    saver.restartIdle();
    EXPECT_FALSE(saver.isVisible() || saver.isClockVisible() || saver.saverTimer().isActive());
    // Even a countdown that fires late leaves the window uncovered.
    saver.activate();
    EXPECT_FALSE(saver.isVisible());

    // Movement uncovers it, also over a widget without mouse tracking.
    musicActive = false;
    saver.activate();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), content.mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&content, &move);
    EXPECT_FALSE(saver.isVisible());
    EXPECT_TRUE(saver.saverTimer().isActive());
}
