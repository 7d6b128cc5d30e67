// The rest timer on a hand-set clock, and the overtime sector its dial draws (the countdown ring
// is checked through the clock that draws it).
#include "playback/RestTimer.h"

#include "FakeTimeSource.h"
#include "playback/RestTimerDial.h"

#include <QImage>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QDateTime start(QDate(2026, 12, 6), QTime(21, 0), Qt::LocalTime);
// 264 px square: the ring's radius is 100 px, its stroke 33 px wide.
constexpr int side = 264;
constexpr double centre = side / 2.0;

struct Fixture {
    explicit Fixture(double minutes, QTime armedAt = start.time()) : duration(minutes) {
        auto source = std::make_unique<FakeTimeSource>(QDateTime(start.date(), armedAt));
        time = source.get();
        timer = std::make_unique<RestTimer>([this] { return duration; }, std::move(source));
        rang = std::make_unique<QSignalSpy>(timer.get(), &RestTimer::rang);
    }

    QImage paint() const {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        RestTimerDial::draw(painter, QRectF(0, 0, side, side), *timer);
        return image;
    }

    double duration;
    FakeTimeSource* time;
    std::unique_ptr<RestTimer> timer;
    std::unique_ptr<QSignalSpy> rang;
};

// Expects `color` at `radius` from the centre in each direction (degrees counter-clockwise from
// 3 o'clock).
void expectAt(const QImage& image, double radius, std::initializer_list<double> directions,
              const QColor& color) {
    for (const double degrees : directions) {
        const double radians = degrees * M_PI / 180.0;
        EXPECT_EQ(image.pixelColor(int(centre + radius * std::cos(radians)),
                                   int(centre - radius * std::sin(radians))),
                  color)
            << radius << " px at " << degrees << " degrees";
    }
}

const QColor none(Qt::transparent);
const QColor& overtime = RestTimerDial::overtimeColor;

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

TEST(RestTimerDial, OvertimeSectorCoversWhatTheMinuteHandSwept) {
    // Armed on the hour with a five-minute break; 30 minutes later the sector is the right half.
    Fixture half(5);
    half.timer->arm();
    half.time->advance(30 * 60);
    expectAt(half.paint(), 60, {60, 0, -60}, overtime);
    expectAt(half.paint(), 60, {120, 180, 240}, none);
    expectAt(half.paint(), 120, {0}, none);

    // Across the hour: armed at :50, now :20, the sector runs from 10 past 12 round to 4 o'clock.
    Fixture wrapped(5, QTime(21, 50));
    wrapped.timer->arm();
    wrapped.time->advance(30 * 60);
    expectAt(wrapped.paint(), 60, {140, 90, 30, -20}, overtime);
    expectAt(wrapped.paint(), 60, {-90, 210}, none);

    // After 59 minutes: a small full disc of half the ring's radius.
    wrapped.time->advance(29 * 60 + 1);
    expectAt(wrapped.paint(), 0, {0}, overtime);
    expectAt(wrapped.paint(), 40, {0, 45, 90, 135, 180, 225, 270, 315}, overtime);
    expectAt(wrapped.paint(), 75, {0, 45, 90, 135, 180, 225, 270, 315}, none);
}
