#include "stage/Screensaver.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A main window stand-in holding the screensaver, with the player's state as two flags.
struct Stage {
    explicit Stage(std::chrono::milliseconds delay = Screensaver::delayTime)
        : content(&window), saver(&window, delay) {
        window.resize(1366, 768);
        content.setGeometry(0, 0, 400, 300);
        saver.setIsMusicActive([this] { return playing || previewing; });
    }

    QWidget window;
    QLabel content;
    Screensaver saver;
    bool playing = false;
    bool previewing = false;
};

bool countingDown(const Screensaver& saver) {
    return saver.saverTimer().isActive();
}

void moveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST(Screensaver, CountdownFollowsPlaybackAndTheNextActionUncovers) {
    Stage stage;
    stage.window.show();
    EXPECT_FALSE(countingDown(stage.saver));
    stage.saver.restartIdle();
    EXPECT_TRUE(countingDown(stage.saver));
    EXPECT_EQ(stage.saver.saverTimer().interval(), 120'000);
    EXPECT_TRUE(stage.saver.saverTimer().isSingleShot());

    // Playback starts (the player reports it through restartIdle): the countdown stops; when it
    // stops, a fresh countdown starts.
    stage.playing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(countingDown(stage.saver));
    stage.playing = false;
    stage.saver.restartIdle();
    EXPECT_TRUE(countingDown(stage.saver));
    EXPECT_FALSE(stage.saver.isVisible());

    stage.saver.activate();
    EXPECT_FALSE(countingDown(stage.saver));
    EXPECT_TRUE(stage.saver.isClockVisible());
    EXPECT_EQ(stage.saver.geometry(), stage.window.rect());
    EXPECT_EQ(stage.window.children().last(), &stage.saver) << "above the window's content";
    stage.window.resize(1024, 600);
    EXPECT_EQ(stage.saver.geometry(), QRect(0, 0, 1024, 600));

    // A press that starts the music must uncover the window, not leave the clock over it.
    stage.playing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(stage.saver.isVisible());
    EXPECT_FALSE(stage.saver.isClockVisible());
    EXPECT_FALSE(countingDown(stage.saver));
}

TEST(Screensaver, NeverShowsWhilePreviewing) {
    Stage stage(std::chrono::milliseconds(10));
    stage.window.show();
    stage.previewing = true;
    stage.saver.restartIdle();
    EXPECT_FALSE(countingDown(stage.saver));

    // Even a countdown that fires late leaves the window uncovered.
    stage.saver.activate();
    EXPECT_FALSE(stage.saver.isVisible());

    stage.previewing = false;
    stage.saver.restartIdle();
    QTRY_VERIFY_WITH_TIMEOUT(stage.saver.isVisible(), 5000);
}

TEST(Screensaver, MouseMovementCountsOnlyInTheActiveWindow) {
    Stage stage;
    QWidget other;
    stage.window.show();
    other.show();

    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    stage.saver.activate();
    moveMouseOver(&stage.saver);
    moveMouseOver(&stage.content);
    EXPECT_TRUE(stage.saver.isVisible());

    stage.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage.window));
    moveMouseOver(&stage.saver);
    EXPECT_FALSE(stage.saver.isVisible());
    EXPECT_TRUE(countingDown(stage.saver));

    // Movement over a widget without mouse tracking also counts.
    stage.saver.activate();
    moveMouseOver(&stage.content);
    EXPECT_FALSE(stage.saver.isVisible());
}
