#include "stage/Screensaver.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A main window stand-in holding the screensaver, with the player's state as one flag.
class ScreensaverTest : public ::testing::Test {
protected:
    ScreensaverTest() {
        window.resize(1366, 768);
        content.setGeometry(0, 0, 400, 300);
        saver.setIsMusicActive([this] { return musicActive; });
        window.show();
    }
    bool countingDown() const { return saver.saverTimer().isActive(); }
    static void moveMouseOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    QWidget window;
    QLabel content{&window};
    Screensaver saver{&window};
    bool musicActive = false;
};

} // namespace

// That previewing stops the countdown is tested through the main window's controller.
TEST_F(ScreensaverTest, CoversTheWindowUntilTheNextActionOrMouseMovementInTheActiveWindow) {
    saver.restartIdle();
    EXPECT_TRUE(countingDown());
    saver.activate();
    EXPECT_FALSE(countingDown());
    EXPECT_TRUE(saver.isClockVisible());
    EXPECT_EQ(window.children().last(), &saver) << "above the window's content";
    window.resize(1024, 600);
    EXPECT_EQ(saver.geometry(), QRect(0, 0, 1024, 600));
    // A press that starts the music must uncover the window, not leave the clock over it.
    musicActive = true;
    saver.restartIdle();
    EXPECT_FALSE(saver.isVisible() || saver.isClockVisible() || countingDown());
    // Even a countdown that fires late leaves the window uncovered.
    saver.activate();
    EXPECT_FALSE(saver.isVisible());

    musicActive = false;
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    saver.activate();
    moveMouseOver(&content);
    EXPECT_TRUE(saver.isVisible()) << "movement over another window does not count";
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Also over a widget without mouse tracking.
    moveMouseOver(&content);
    EXPECT_FALSE(saver.isVisible());
    EXPECT_TRUE(countingDown());
}
