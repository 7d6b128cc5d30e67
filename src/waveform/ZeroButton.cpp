#include "waveform/ZeroButton.h"

#include "waveform/TimeSlider.h"

ZeroButton::ZeroButton(TimeSlider* timeSlider, double time) : TimeSliderButton(timeSlider, time) {
    setSymbol(QStringLiteral("z.square"), palette().color(QPalette::WindowText), 24);
    setToolTip(QString::asprintf("%.2f", time));
}

void ZeroButton::removeFromSlider() {
    timeSlider->removeZero(this);
}
