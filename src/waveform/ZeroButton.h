#pragma once
// The marker of one zero mark: a "Z" in a square, its tooltip the time with two decimals.

#include "waveform/TimeSliderButton.h"

class ZeroButton : public TimeSliderButton {
    Q_OBJECT
public:
    ZeroButton(TimeSlider* timeSlider, double time);

    QString markerName() const override { return QStringLiteral("Zero"); }

protected:
    void removeFromSlider() override;
};
