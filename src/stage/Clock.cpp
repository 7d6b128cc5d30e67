#include "stage/Clock.h"

#include "playback/RestTimer.h"
#include "playback/RestTimerDial.h"
#include "stage/ClockFace.h"
#include "stage/NamedColors.h"

#include <QPainter>
#include <QTimer>

namespace {

void drawLine(QPainter& painter, const ClockLine& line, const QColor& color, Qt::PenCapStyle cap) {
    painter.setPen(QPen(color, line.width, Qt::SolidLine, cap));
    painter.drawLine(line.from, line.to);
}

} // namespace

Clock::Clock(QWidget* parent)
    : QWidget(parent), _fgColor(palette().color(QPalette::WindowText)),
      _timeSource([] { return QDateTime::currentDateTime(); }) {}

void Clock::setFgColor(const QColor& color) {
    _fgColor = color;
    update();
}

void Clock::setWithSeconds(bool on) {
    _withSeconds = on;
    update();
}

void Clock::setBackground(std::optional<QColor> color) {
    _background = color;
    update();
}

void Clock::setRestTimer(RestTimer* timer) {
    _restTimer = timer;
    update();
}

void Clock::setClockVisible(bool on) {
    _visible = on;
    update();
}

void Clock::setHourSizeFraction(double fraction) {
    _hourSizeFraction = fraction;
    update();
}

void Clock::ensureTimer() {
    if (_timer)
        return;
    _timer = new QTimer(this);
    _timer->setInterval(1000);
    connect(_timer, &QTimer::timeout, this, &Clock::updateDisplay);
    if (isVisible())
        _timer->start();
}

void Clock::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (_timer)
        _timer->start();
}

void Clock::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (_timer)
        _timer->stop();
}

void Clock::setTimeSource(TimeSource source) {
    _timeSource = std::move(source);
    update();
}

QDateTime Clock::now() const {
    return _timeSource();
}

QSize Clock::sizeHint() const {
    return {40, 40};
}

void Clock::updateDisplay() {
    // A running break's ring moves every second.
    const bool breakShown = _restTimer && _restTimer->timeArmed();
    if (breakShown || !_paintedTips || handTips(now()) != *_paintedTips)
        update();
}

Clock::HandTips Clock::handTips(const QDateTime& moment) const {
    const ClockFace face = ClockFace::forTime(rect(), moment.time(), _hourSizeFraction);
    const auto quarterPixels = [](const QPointF& point) { return (point * 4).toPoint(); };
    return {quarterPixels(face.hourHand.to), quarterPixels(face.minuteHand.to),
            _withSeconds ? quarterPixels(face.secondHand.to) : QPoint()};
}

void Clock::paintEvent(QPaintEvent*) {
    if (!_visible)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    if (_background)
        painter.fillRect(bounds, *_background);
    if (_restTimer)
        RestTimerDial::draw(painter, bounds, *_restTimer);

    const QDateTime moment = now();
    const ClockFace face = ClockFace::forTime(bounds, moment.time(), _hourSizeFraction);
    _paintedTips = handTips(moment);
    for (const ClockLine& tick : face.ticks)
        drawLine(painter, tick, _fgColor, Qt::SquareCap);
    drawLine(painter, face.hourHand, _fgColor, Qt::RoundCap);
    drawLine(painter, face.minuteHand, _fgColor, Qt::RoundCap);
    if (_withSeconds) {
        const QColor red = NamedColors::color(u"systemRed", palette()).value_or(Qt::red);
        drawLine(painter, face.secondHand, red, Qt::RoundCap);
    }
}
