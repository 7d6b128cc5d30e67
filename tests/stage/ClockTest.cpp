#include "stage/Clock.h"

#include "playback/FakeTimeSource.h"
#include "playback/RestTimer.h"
#include "stage/ClockFace.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A 200 × 200 clock, black on white, standing at `time`, and a five-minute break that can run.
class ClockTest : public ::testing::Test {
protected:
    void standAt(const QTime& time) {
        clock.resize(200, 200);
        clock.setFgColor(Qt::black);
        clock.setBackground(QColor(Qt::white));
        clock.setTimeSource([time] { return QDateTime(QDate(2026, 12, 6), time); });
    }
    QColor pixelAt(double fraction, double radius) {
        return clock.grab().toImage().pixelColor(
            ClockFace::pointAt({100, 100}, fraction, radius).toPoint());
    }

    Clock clock;
    FakeTimeSource* breakTime = new FakeTimeSource(QDateTime(QDate(2026, 12, 6), QTime(21, 0)));
    RestTimer restTimer{[] { return 5.0; }, std::unique_ptr<FakeTimeSource>(breakTime)};
};

// Counts the paint events of the object it watches.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

} // namespace

TEST_F(ClockTest, DrawsTheInjectedTimeOnlyWhileClockVisibleWithTheBreakRingUnderTheHands) {
    standAt(QTime(3, 30));
    // Hidden face: nothing is painted over the window's own background, not even the clock's.
    EXPECT_EQ(clock.grab().toImage().pixelColor(100, 150), clock.palette().color(QPalette::Window));
    clock.setClockVisible(true);
    // R = 80: the minute hand reaches 160 below the centre, the hour hand points right-down.
    EXPECT_EQ(pixelAt(0.5, 50), QColor(Qt::black));
    EXPECT_EQ(pixelAt(0.2917, 40), QColor(Qt::black));
    EXPECT_EQ(pixelAt(0.0, 60), QColor(Qt::white)) << "no second hand unless asked";
    clock.setWithSeconds(true);
    EXPECT_GT(pixelAt(0.0, 60).red(), 200);
    EXPECT_LT(pixelAt(0.0, 60).green(), 100);

    // Half of the break gone: the green ring covers the right half of the dial, between the
    // ticks on the ring's radius (200 / 2.64).
    restTimer.arm();
    breakTime->advance(150);
    standAt(QTime(21, 2, 30));
    clock.setWithSeconds(false);
    clock.setRestTimer(&restTimer);
    EXPECT_GT(pixelAt(0.2, 75.75).green(), 150);
    EXPECT_LT(pixelAt(0.2, 75.75).red(), 100);
    EXPECT_EQ(pixelAt(0.8, 75.75), QColor(Qt::white));
    // The hands stay on top: 21:02 puts the minute hand through the ring near 12.
    EXPECT_EQ(pixelAt(2.5 / 60, 70), QColor(Qt::black));
    restTimer.disarm();
    EXPECT_EQ(pixelAt(0.2, 75.75), QColor(Qt::white));
}

TEST_F(ClockTest, TicksOnlyWhileShownAndRepaintsOnlyWhatWouldShow) {
    QTime time(10, 0, 0);
    clock.resize(44, 44);
    clock.setClockVisible(true);
    clock.setTimeSource([&time] { return QDateTime(QDate(2026, 12, 6), time); });
    clock.ensureTimer();
    EXPECT_FALSE(clock.timer()->isActive()) << "no ticking for a clock nobody sees";
    clock.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&clock));
    EXPECT_TRUE(clock.timer()->isActive());

    PaintCounter counter;
    clock.installEventFilter(&counter);
    const auto tick = [&](int seconds) {
        QCoreApplication::processEvents();
        counter.paints = 0;
        time = time.addSecs(seconds);
        clock.updateDisplay();
        QCoreApplication::processEvents();
        return counter.paints;
    };
    // On a 44-pixel face the minute hand's tip moves 0.03 pixels a second.
    EXPECT_EQ(tick(1), 0);
    EXPECT_EQ(tick(30), 1);
    clock.setWithSeconds(true);
    EXPECT_EQ(tick(1), 1) << "the second hand";
    clock.setWithSeconds(false);
    restTimer.arm();
    clock.setRestTimer(&restTimer);
    EXPECT_EQ(tick(1), 1) << "a running break";
    clock.hide();
    EXPECT_FALSE(clock.timer()->isActive());
}
