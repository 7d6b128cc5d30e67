#include "playback/RestTimerDial.h"

#include "FakeTimeSource.h"
#include "playback/RestTimer.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// 264 px square: the ring's radius is 100 px, its stroke 33 px wide.
constexpr int side = 264;
constexpr double centre = side / 2.0;

struct Dial {
    Dial(double minutes, QTime armedAt) {
        auto source =
            std::make_unique<FakeTimeSource>(QDateTime(QDate(2026, 12, 6), armedAt, Qt::LocalTime));
        time = source.get();
        timer = std::make_unique<RestTimer>([minutes] { return minutes; }, std::move(source));
    }

    QImage paint() const {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        RestTimerDial::draw(painter, QRectF(0, 0, side, side), *timer);
        return image;
    }

    FakeTimeSource* time;
    std::unique_ptr<RestTimer> timer;
};

// The colour at `radius` from the centre in the direction `degrees` (counter-clockwise from
// 3 o'clock).
QColor at(const QImage& image, double radius, double degrees) {
    const double radians = degrees * M_PI / 180.0;
    return image.pixelColor(int(centre + radius * std::cos(radians)),
                            int(centre - radius * std::sin(radians)));
}

bool isEmpty(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                return false;
    return true;
}

} // namespace

TEST(RestTimerDial, CountdownRingRunsDownClockwiseTowardsTwelve) {
    Dial dial(1, QTime(21, 0));
    EXPECT_TRUE(isEmpty(dial.paint()));

    dial.timer->arm();
    QImage image = dial.paint();
    for (double degrees = 0; degrees < 360; degrees += 15)
        EXPECT_EQ(at(image, 100, degrees), RestTimerDial::ringColor) << degrees;
    EXPECT_NE(at(image, 60, 0), RestTimerDial::ringColor);
    EXPECT_NE(at(image, 125, 0), RestTimerDial::ringColor);

    // A quarter left: 12 to 3 o'clock.
    dial.time->advance(45);
    image = dial.paint();
    EXPECT_EQ(at(image, 100, 45), RestTimerDial::ringColor);
    for (double degrees : {135.0, 180.0, 225.0, 270.0, 315.0})
        EXPECT_EQ(at(image, 100, degrees).alpha(), 0) << degrees;

    // One second before the deadline: a short arc next to 12 o'clock.
    dial.time->advance(14);
    image = dial.paint();
    EXPECT_EQ(at(image, 100, 88), RestTimerDial::ringColor);
    EXPECT_EQ(at(image, 100, 45).alpha(), 0);
    EXPECT_EQ(at(image, 100, 135).alpha(), 0);

    dial.timer->disarm();
    EXPECT_TRUE(isEmpty(dial.paint()));
}

TEST(RestTimerDial, OvertimeSectorCoversWhatTheMinuteHandSwept) {
    // Armed on the hour with a five-minute break; 30 minutes later the sector is the right half.
    Dial half(5, QTime(21, 0));
    half.timer->arm();
    half.time->advance(30 * 60);
    QImage image = half.paint();
    for (double degrees : {60.0, 0.0, -60.0})
        EXPECT_EQ(at(image, 60, degrees), RestTimerDial::overtimeColor) << degrees;
    for (double degrees : {120.0, 180.0, 240.0})
        EXPECT_EQ(at(image, 60, degrees).alpha(), 0) << degrees;
    EXPECT_EQ(at(image, 120, 0).alpha(), 0);

    // Across the hour: armed at :50, now :20, the sector runs from 10 past 12 round to 4 o'clock.
    Dial wrapped(5, QTime(21, 50));
    wrapped.timer->arm();
    wrapped.time->advance(30 * 60);
    image = wrapped.paint();
    for (double degrees : {140.0, 90.0, 30.0, -20.0})
        EXPECT_EQ(at(image, 60, degrees), RestTimerDial::overtimeColor) << degrees;
    for (double degrees : {-90.0, 210.0})
        EXPECT_EQ(at(image, 60, degrees).alpha(), 0) << degrees;

    // After 59 minutes: a small full disc of half the ring's radius.
    wrapped.time->advance(29 * 60 + 1);
    image = wrapped.paint();
    EXPECT_EQ(image.pixelColor(side / 2, side / 2), RestTimerDial::overtimeColor);
    for (double degrees = 0; degrees < 360; degrees += 45) {
        EXPECT_EQ(at(image, 40, degrees), RestTimerDial::overtimeColor) << degrees;
        EXPECT_EQ(at(image, 75, degrees).alpha(), 0) << degrees;
    }
}
