#include "stage/Screensaver.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A main window stand-in holding the screensaver, with the player's state as two flags.
struct Stage {
    Stage() : content(&window), saver(&window) {
        window.resize(1366, 768);
        content.setGeometry(0, 0, 400, 300);
        saver.setIsMusicActive([this] { return playing || previewing; });
        window.show();
    }
    bool countingDown() const { return saver.saverTimer().isActive(); }

    QWidget window;
    QLabel content;
    Screensaver saver;
    bool playing = false;
    bool previewing = false;
};

void moveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST(Screensaver, CountdownFollowsPlaybackNeverRunsWhilePreviewingAndTheNextActionUncovers) {
    Stage stage;
    EXPECT_FALSE(stage.countingDown());
    stage.saver.restartIdle();
    EXPECT_TRUE(stage.countingDown());
    // The player reports starting and stopping through restartIdle.
    stage.playing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(stage.countingDown());
    stage.playing = false;
    stage.saver.restartIdle();
    EXPECT_TRUE(stage.countingDown());

    stage.saver.activate();
    EXPECT_FALSE(stage.countingDown());
    EXPECT_TRUE(stage.saver.isClockVisible());
    EXPECT_EQ(stage.window.children().last(), &stage.saver) << "above the window's content";
    stage.window.resize(1024, 600);
    EXPECT_EQ(stage.saver.geometry(), QRect(0, 0, 1024, 600));
    // A press that starts the music must uncover the window, not leave the clock over it.
    stage.playing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(stage.saver.isVisible());
    EXPECT_FALSE(stage.saver.isClockVisible());

    stage.playing = false;
    stage.previewing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(stage.countingDown());
    // Even a countdown that fires late leaves the window uncovered.
    stage.saver.activate();
    EXPECT_FALSE(stage.saver.isVisible());
}

TEST(Screensaver, MouseMovementCountsOnlyInTheActiveWindow) {
    Stage stage;
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    stage.saver.activate();
    moveMouseOver(&stage.content);
    EXPECT_TRUE(stage.saver.isVisible());

    stage.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage.window));
    moveMouseOver(&stage.saver);
    EXPECT_FALSE(stage.saver.isVisible());
    EXPECT_TRUE(stage.countingDown());
    // Movement over a widget without mouse tracking also counts.
    stage.saver.activate();
    moveMouseOver(&stage.content);
    EXPECT_FALSE(stage.saver.isVisible());
}
