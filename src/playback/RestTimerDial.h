#pragma once
// How the break shows on a clock face: while counting, a green ring that runs down clockwise
// towards 12 o'clock; once the break is over, a red sector over the part of the dial the minute
// hand has swept since the break began (a small disc after 59 minutes). Nothing while disarmed.

#include <QColor>
#include <QPainter>
#include <QRectF>

class RestTimer;

namespace RestTimerDial {

inline const QColor ringColor{52, 199, 89};
inline const QColor overtimeColor{255, 59, 48};

// Paints onto `painter` centred in `bounds`, at the rest timer's current time.
void draw(QPainter& painter, const QRectF& bounds, const RestTimer& restTimer);

} // namespace RestTimerDial
