#pragma once
// The marker of one timed note: a green pencil, its tooltip the note's text.

#include "model/TextNote.h"
#include "waveform/TimeSliderButton.h"

#include <memory>

class NoteButton : public TimeSliderButton {
    Q_OBJECT
public:
    NoteButton(TimeSlider* timeSlider, std::shared_ptr<TextNote> note);

    QString markerName() const override { return QStringLiteral("Note"); }

    const std::shared_ptr<TextNote> note;

protected:
    void removeFromSlider() override;
};
