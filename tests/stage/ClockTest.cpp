#include "stage/Clock.h"

#include "stage/ClockFace.h"

#include <gtest/gtest.h>

// How the hands look, the break's ring and when the clock repaints have no test of their own;
// this shows the clock draws the injected time, and only while its face is visible.
TEST(Clock, DrawsTheInjectedTimeOnlyWhileClockVisible) {
    Clock clock;
    clock.resize(200, 200);
    clock.setFgColor(Qt::black);
    clock.setBackground(QColor(Qt::white));
    clock.setTimeSource([] { return QDateTime(QDate(2026, 12, 6), QTime(21, 2, 30)); });
    const auto pixelAt = [&clock](double fraction, double radius) {
        return clock.grab().toImage().pixelColor(
            ClockFace::pointAt({100, 100}, fraction, radius).toPoint());
    };
    // Hidden face: nothing is painted over the window's own background, not even the clock's.
    EXPECT_EQ(pixelAt(0.5, 50), clock.palette().color(QPalette::Window));
    clock.setClockVisible(true);
    // 21:02:30 puts the minute hand near 12, and nothing of the dial at half past.
    EXPECT_EQ(pixelAt(2.5 / 60, 70), QColor(Qt::black));
    EXPECT_EQ(pixelAt(0.55, 70), QColor(Qt::white));
}
