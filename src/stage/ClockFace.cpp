#include "stage/ClockFace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

ClockLine lineAt(const QPointF& centre, double f, double r0, double r1, double width) {
    return {ClockFace::pointAt(centre, f, r0), ClockFace::pointAt(centre, f, r1), width};
}

} // namespace

ClockFace ClockFace::forTime(const QRectF& bounds, const QTime& time, double hourSizeFraction) {
    const double d = std::min(bounds.width(), bounds.height());
    const QPointF centre = bounds.center();
    ClockFace face;
    face.radius = d / 2.5;
    face.handWidth = d / 20;
    const double r = face.radius;
    const double w = face.handWidth;
    for (int i = 0; i < 12; ++i) {
        const double tickWidth = i % 3 == 0 ? w / 1.25 : w / 2.5;
        face.ticks[size_t(i)] = lineAt(centre, i / 12.0, 0.9 * r, r, tickWidth);
    }
    face.hourHand =
        lineAt(centre, hourFraction(time), 0, r * hourSizeFraction, w / hourSizeFraction);
    face.minuteHand = lineAt(centre, minuteFraction(time), 0, r, w);
    face.secondHand = lineAt(centre, secondFraction(time), 0, r, w * 0.25);
    return face;
}

double ClockFace::hourFraction(const QTime& time) {
    return (time.hour() % 12) / 12.0 + time.minute() / 720.0;
}

double ClockFace::minuteFraction(const QTime& time) {
    return time.minute() / 60.0 + time.second() / 3600.0;
}

double ClockFace::secondFraction(const QTime& time) {
    return time.second() / 60.0;
}

QPointF ClockFace::pointAt(const QPointF& centre, double f, double r) {
    // With y growing upwards the point is (cx + sin θ·r, cy − cos θ·r), θ = (0.5 − f)·2π; Qt's y
    // grows downwards, so the vertical term changes sign.
    const double theta = (0.5 - f) * 2 * std::numbers::pi;
    return {centre.x() + std::sin(theta) * r, centre.y() + std::cos(theta) * r};
}
