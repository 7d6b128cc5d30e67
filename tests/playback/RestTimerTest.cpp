// The rest timer on a hand-set clock.
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

TEST(RestTimer, RingsOnceAtTheDeadlineReadWhenArmedAndAnUnusableDurationIsAMinute) {
    Fixture f(1);
    f.timer->arm();
    f.time->advance(30);
    // Arming again restarts the countdown, whose length was read when it was armed.
    f.timer->arm();
    f.duration = 3;
    f.time->advance(59);
    EXPECT_EQ(f.rang->count(), 0);
    f.time->advance(1);
    EXPECT_EQ(f.rang->count(), 1);
    EXPECT_TRUE(f.timer->fired());

    // A duration that is not a number is a minute.
    Fixture unusable(NAN);
    unusable.timer->arm();
    unusable.time->advance(59);
    EXPECT_NEAR(unusable.timer->fractionRemaining().value_or(-1), 1.0 / 60, 1e-9);
    unusable.time->advance(1);
    EXPECT_EQ(unusable.rang->count(), 1);
    EXPECT_FALSE(unusable.timer->fractionRemaining());
}
