#include "playback/RestTimer.h"

#include "FakeTimeSource.h"

#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QDateTime start(QDate(2026, 12, 6), QTime(21, 0), Qt::LocalTime);

struct Fixture {
    explicit Fixture(double minutes) : duration(minutes) {
        auto source = std::make_unique<FakeTimeSource>(start);
        time = source.get();
        timer = std::make_unique<RestTimer>([this] { return duration; }, std::move(source));
        rang = std::make_unique<QSignalSpy>(timer.get(), &RestTimer::rang);
    }
    double duration;
    FakeTimeSource* time;
    std::unique_ptr<RestTimer> timer;
    std::unique_ptr<QSignalSpy> rang;
};

} // namespace

TEST(RestTimer, RingsAtTheDeadlineWithTheOneMinuteFloor) {
    for (const auto& [minutes, seconds] :
         {std::pair{0.5, 60.0}, {0.0, 60.0}, {NAN, 60.0}, {-3.0, 60.0}, {3.0, 180.0}}) {
        SCOPED_TRACE(minutes);
        Fixture f(minutes);
        f.timer->arm();
        ASSERT_EQ(f.timer->fractionRemaining(), 1.0);
        f.time->advance(seconds - 1);
        ASSERT_TRUE(f.timer->fractionRemaining());
        EXPECT_NEAR(*f.timer->fractionRemaining(), 1.0 / seconds, 1e-9);
        EXPECT_EQ(f.rang->count(), 0);
        EXPECT_FALSE(f.timer->fired());

        f.time->advance(1);
        EXPECT_EQ(f.rang->count(), 1);
        EXPECT_TRUE(f.timer->fired());
        EXPECT_FALSE(f.timer->fractionRemaining());
    }
}

TEST(RestTimer, ArmingReadsTheDurationAndRestartsAndDisarmingKeepsFired) {
    Fixture f(1);
    f.timer->toggle();
    EXPECT_EQ(f.timer->timeArmed(), start);
    f.time->advance(20);
    f.timer->toggle();
    EXPECT_FALSE(f.timer->timeArmed());
    f.time->advance(3600);
    EXPECT_EQ(f.rang->count(), 0);

    // Arming again restarts the countdown, whose length was read when it was armed.
    f.timer->arm();
    f.time->advance(30);
    f.timer->arm();
    f.duration = 5;
    EXPECT_EQ(f.timer->fractionRemaining(), 1.0);
    f.time->advance(59);
    EXPECT_EQ(f.rang->count(), 0);
    f.time->advance(1);
    EXPECT_EQ(f.rang->count(), 1);

    // Disarming in overtime keeps `fired` and never rings again until armed.
    f.time->advance(90);
    f.timer->disarm();
    EXPECT_TRUE(f.timer->fired());
    EXPECT_FALSE(f.time->pendingDeadline);
    f.time->advance(3600);
    EXPECT_EQ(f.rang->count(), 1);

    // Re-arming clears `fired` and counts down once more, now for five minutes.
    f.timer->arm();
    EXPECT_FALSE(f.timer->fired());
    f.time->advance(299);
    EXPECT_EQ(f.rang->count(), 1);
    f.time->advance(1);
    EXPECT_EQ(f.rang->count(), 2);
}
