#include "playback/RestTimerDial.h"

#include "playback/RestTimer.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// Radius of the ring as a share of the smaller side of the bounds.
constexpr double radiusDivisor = 2.64;
constexpr qint64 fullDiscAfterSeconds = 59 * 60;

QRectF circle(const QPointF& centre, double radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

// Counter-clockwise from 3 o'clock, in degrees, where a minute hand points at `time`.
double minuteHandAngle(const QDateTime& time) {
    const QTime local = time.toLocalTime().time();
    return 90.0 - 360.0 * (local.minute() / 60.0 + local.second() / 3600.0);
}

void drawCountdown(QPainter& painter, const QPointF& centre, double side, double fraction) {
    painter.setPen(QPen(RestTimerDial::ringColor, side * 0.125, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF ring = circle(centre, side / radiusDivisor);
    QPainterPath arc;
    arc.arcMoveTo(ring, 90.0);
    arc.arcTo(ring, 90.0, -360.0 * fraction);
    painter.drawPath(arc);
}

void drawOvertime(QPainter& painter, const QPointF& centre, double side, const QDateTime& armed,
                  const QDateTime& now) {
    painter.setPen(QPen(RestTimerDial::overtimeColor, side / 20 * 0.5, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(RestTimerDial::overtimeColor);
    const double radius = side / radiusDivisor;
    if (armed.secsTo(now) > fullDiscAfterSeconds) {
        painter.drawEllipse(circle(centre, radius * 0.5));
        return;
    }
    const double start = minuteHandAngle(armed);
    const double clockwiseSweep = std::fmod(start - minuteHandAngle(now) + 720.0, 360.0);
    QPainterPath sector(centre);
    sector.arcTo(circle(centre, radius), start, -clockwiseSweep);
    sector.closeSubpath();
    painter.drawPath(sector);
}

} // namespace

namespace RestTimerDial {

void draw(QPainter& painter, const QRectF& bounds, const RestTimer& restTimer) {
    const std::optional<QDateTime> armed = restTimer.timeArmed();
    if (!armed)
        return;
    const double side = std::min(bounds.width(), bounds.height());
    const QPointF centre = bounds.center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (const std::optional<double> fraction = restTimer.fractionRemaining())
        drawCountdown(painter, centre, side, *fraction);
    else
        drawOvertime(painter, centre, side, *armed, restTimer.now());
    painter.restore();
}

} // namespace RestTimerDial
