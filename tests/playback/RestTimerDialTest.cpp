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

// The countdown ring is checked through the clock that draws it.
TEST(RestTimerDial, OvertimeSectorCoversWhatTheMinuteHandSwept) {
    // Armed on the hour with a five-minute break; 30 minutes later the sector is the right half.
    Dial half(5, QTime(21, 0));
    half.timer->arm();
    half.time->advance(30 * 60);
    expectAt(half.paint(), 60, {60, 0, -60}, overtime);
    expectAt(half.paint(), 60, {120, 180, 240}, none);
    expectAt(half.paint(), 120, {0}, none);

    // Across the hour: armed at :50, now :20, the sector runs from 10 past 12 round to 4 o'clock.
    Dial wrapped(5, QTime(21, 50));
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
