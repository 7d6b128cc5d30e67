#pragma once
// The geometry of the analogue clock for one moment: ticks and hands as line segments in Qt's
// y-down widget coordinates. Pure, so the drawing can be checked without pixels.

#include <QPointF>
#include <QRectF>
#include <QTime>
#include <array>

struct ClockLine {
    QPointF from;
    QPointF to;
    double width = 0;
};

struct ClockFace {
    double radius = 0;    // R: the minute hand's length and the dial's outer tick radius
    double handWidth = 0; // w: the minute hand's width; everything else is sized from it
    std::array<ClockLine, 12> ticks;
    ClockLine hourHand;
    ClockLine minuteHand;
    ClockLine secondHand;

    static ClockFace forTime(const QRectF& bounds, const QTime& time, double hourSizeFraction);

    // Fractions of a full turn, 0 at 12 o'clock and 0.25 at 3 o'clock.
    static double hourFraction(const QTime& time);
    static double minuteFraction(const QTime& time);
    static double secondFraction(const QTime& time);

    // The point at radius r in the direction of fraction f around centre.
    static QPointF pointAt(const QPointF& centre, double f, double r);
};
