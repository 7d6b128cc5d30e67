#include "stage/Clock.h"

#include "playback/FakeTimeSource.h"
#include "playback/RestTimer.h"
#include "stage/ClockFace.h"

#include <gtest/gtest.h>

// How the hands look and when the clock repaints have no test of their own; this shows the clock
// draws the injected time, only while its face is visible, with the break's ring under the hands.
TEST(Clock, DrawsTheInjectedTimeOnlyWhileClockVisibleWithTheBreakRingUnderTheHands) {
    Clock clock;
    clock.resize(200, 200);
    clock.setFgColor(Qt::black);
    clock.setBackground(QColor(Qt::white));
    clock.setTimeSource([] { return QDateTime(QDate(2026, 12, 6), QTime(21, 2, 30)); });
    auto* breakTime = new FakeTimeSource(QDateTime(QDate(2026, 12, 6), QTime(21, 0)));
    RestTimer restTimer{[] { return 5.0; }, std::unique_ptr<FakeTimeSource>(breakTime)};
    const auto pixelAt = [&clock](double fraction, double radius) {
        return clock.grab().toImage().pixelColor(
            ClockFace::pointAt({100, 100}, fraction, radius).toPoint());
    };
    // Hidden face: nothing is painted over the window's own background, not even the clock's.
    EXPECT_EQ(pixelAt(0.5, 50), clock.palette().color(QPalette::Window));
    clock.setClockVisible(true);

    // Half of the five-minute break gone: the green ring covers the right half of the dial, on
    // the ring's radius (200 / 2.64).
    restTimer.arm();
    breakTime->advance(150);
    clock.setRestTimer(&restTimer);
    EXPECT_GT(pixelAt(0.2, 75.75).green(), 150);
    EXPECT_LT(pixelAt(0.2, 75.75).red(), 100);
    EXPECT_EQ(pixelAt(0.8, 75.75), QColor(Qt::white));
    // The hands stay on top: 21:02 puts the minute hand through the ring near 12.
    EXPECT_EQ(pixelAt(2.5 / 60, 70), QColor(Qt::black));
}
