#include "stage/Clock.h"

#include "playback/FakeTimeSource.h"
#include "playback/RestTimer.h"
#include "stage/ClockFace.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

void expectPoint(const QPointF& actual, double x, double y) {
    EXPECT_NEAR(actual.x(), x, 1e-9);
    EXPECT_NEAR(actual.y(), y, 1e-9);
}

// A 200 × 200 clock, black on white, standing at `time`.
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
};

} // namespace

TEST(ClockFace, HandsAndTicksAtHalfPastThree) {
    // A 200 × 100 view: R = 40 around the centre (100, 50), and Qt's y grows downwards.
    const ClockFace face = ClockFace::forTime(QRectF(0, 0, 200, 100), QTime(15, 30), 0.7);
    expectPoint(face.minuteHand.from, 100, 50);
    expectPoint(face.minuteHand.to, 100, 90);
    expectPoint(face.secondHand.to, 100, 10); // no seconds in the time: at 12
    expectPoint(face.ticks[3].to, 140, 50);
    EXPECT_GT(face.ticks[3].width, face.ticks[4].width) << "the quarter ticks are the wide ones";

    // The hour hand is 0.7 R long and lies between 3 and 4 o'clock.
    const QPointF hourTip = face.hourHand.to - QPointF(100, 50);
    EXPECT_NEAR(std::hypot(hourTip.x(), hourTip.y()), 0.7 * 40, 1e-9);
    EXPECT_NEAR(std::atan2(hourTip.y(), hourTip.x()), (3.5 / 12 - 0.25) * 2 * M_PI, 1e-9);

    // 11:59:30 keeps the hour and minute hands just short of 12.
    EXPECT_NEAR(ClockFace::hourFraction(QTime(23, 59, 30)), 11 / 12.0 + 59 / 720.0, 1e-9);
    EXPECT_NEAR(ClockFace::minuteFraction(QTime(23, 59, 30)), 59 / 60.0 + 30 / 3600.0, 1e-9);
}

TEST_F(ClockTest, DrawsTheInjectedTimeOnlyWhileClockVisible) {
    standAt(QTime(3, 30));
    // Hidden face: nothing is painted over the window's own background, not even the clock's.
    EXPECT_EQ(clock.grab().toImage().pixelColor(100, 150), clock.palette().color(QPalette::Window));

    clock.setClockVisible(true);
    // R = 80: the minute hand reaches 160 below the centre, the hour hand points right-down.
    EXPECT_EQ(pixelAt(0.5, 50), QColor(Qt::black));
    EXPECT_EQ(pixelAt(0.2917, 40), QColor(Qt::black));
    EXPECT_EQ(pixelAt(0.0, 60), QColor(Qt::white)) << "no second hand unless asked";
    clock.setWithSeconds(true);
    const QColor secondHand = pixelAt(0.0, 60);
    EXPECT_GT(secondHand.red(), 200);
    EXPECT_LT(secondHand.green(), 100);
}

TEST_F(ClockTest, BreakRingRunsUnderTheHands) {
    // Half of a five-minute break gone: the green ring covers the right half of the dial.
    auto time = std::make_unique<FakeTimeSource>(QDateTime(QDate(2026, 12, 6), QTime(21, 0)));
    FakeTimeSource& breakTime = *time;
    RestTimer restTimer([] { return 5.0; }, std::move(time));
    restTimer.arm();
    breakTime.advance(150);
    standAt(QTime(21, 2, 30));
    clock.setRestTimer(&restTimer);
    clock.setClockVisible(true);

    // Between the ticks, on the ring's radius (200 / 2.64).
    const QColor running = pixelAt(0.2, 75.75);
    EXPECT_GT(running.green(), 150);
    EXPECT_LT(running.red(), 100);
    EXPECT_EQ(pixelAt(0.8, 75.75), QColor(Qt::white));
    // The hands stay on top: 21:02 puts the minute hand through the ring near 12.
    EXPECT_EQ(pixelAt(2.5 / 60, 70), QColor(Qt::black));

    restTimer.disarm();
    EXPECT_EQ(pixelAt(0.2, 75.75), QColor(Qt::white));
}
