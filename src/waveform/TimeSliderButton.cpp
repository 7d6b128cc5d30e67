#include "waveform/TimeSliderButton.h"

#include "platform/Diagnostics.h"
#include "platform/SymbolImage.h"
#include "waveform/TimeSlider.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

TimeSliderButton::TimeSliderButton(TimeSlider* timeSlider, double time)
    : QAbstractButton(timeSlider), time(time), timeSlider(timeSlider) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

QString TimeSliderButton::description() const {
    return QStringLiteral("%1 at %2").arg(markerName(), QString::asprintf("%.2f", time));
}

void TimeSliderButton::setSymbol(const QString& name, const QColor& color, int side) {
    const qreal scale = devicePixelRatioF();
    normalImage = symbolImage(name, QSize(side, side) * scale, color);
    normalImage.setDevicePixelRatio(scale);
    resize(side, side);
}

QRectF TimeSliderButton::frame() const {
    const double size = timeSlider->buttonSize;
    return QRectF((width() - size) / 2.0, (height() - size) / 2.0, size, size);
}

void TimeSliderButton::placeAt(double x, double y) {
    move(int(std::lround(x - width() / 2.0)), int(std::lround(y - height() / 2.0)));
}

bool TimeSliderButton::hitButton(const QPoint& pos) const {
    return frame().contains(pos);
}

void TimeSliderButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), normalImage);
}

QMenu* TimeSliderButton::makeMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(markerName())->setEnabled(false);
    connect(menu->addAction(QStringLiteral(" Remove")), &QAction::triggered, this,
            &TimeSliderButton::remove);
    return menu;
}

void TimeSliderButton::remove() {
    printLine(QStringLiteral("remove ") + description());
    removeFromSlider();
}

double TimeSliderButton::sliderX(const QMouseEvent* event) const {
    return mapToParent(event->position()).x();
}

void TimeSliderButton::mousePressEvent(QMouseEvent* event) {
    // Outside the frame the slider underneath takes the press.
    if (!hitButton(event->position().toPoint())) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::RightButton) {
        makeMenu()->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        printLine(QStringLiteral("TimeSliderButton clicked"));
        timeSlider->pressAt(sliderX(event));
    }
}

void TimeSliderButton::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        timeSlider->dragTo(sliderX(event));
}

void TimeSliderButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        timeSlider->releaseAt(sliderX(event));
}
