#include "waveform/NoteButton.h"

#include "waveform/TimeSlider.h"

namespace {
// The system green, a little brighter on dark backgrounds.
QColor systemGreen(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128 ? QColor(0x30, 0xd1, 0x58)
                                                             : QColor(0x28, 0xa7, 0x45);
}
} // namespace

NoteButton::NoteButton(TimeSlider* timeSlider, std::shared_ptr<TextNote> note)
    : TimeSliderButton(timeSlider, note->time), note(std::move(note)) {
    setSymbol(QStringLiteral("pencil"), systemGreen(palette()), 30);
    setToolTip(this->note->text);
}

void NoteButton::removeFromSlider() {
    timeSlider->removeNote(this);
}
