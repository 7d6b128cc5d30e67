#include "waveform/TimeSlider.h"

#include "playback/Player.h"
#include "playback/Scrubber.h"
#include "waveform/NoteButton.h"
#include "waveform/ZeroButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

TimeSlider::TimeSlider(QWidget* parent) : QWidget(parent) {
    // No background of its own: the waveform shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMinimumHeight(int(buttonSize) + 16);
}

double TimeSlider::xForTime(double t, double maximum, double left, double width, double endPad) {
    if (maximum <= 0.001)
        return 0.0;
    return left + endPad + (t / maximum) * (width - 2 * endPad);
}

double TimeSlider::timeForX(double x, double maximum, double left, double width, double endPad) {
    const double track = width - 2 * endPad;
    // A slider narrower than its two margins has no track to point into.
    if (track <= 0.0)
        return 0.0;
    return maximum * (x - left - endPad) / track;
}

double TimeSlider::xForTime(double t) const {
    return xForTime(t, _maximum, 0.0, width(), endPad);
}

double TimeSlider::timeForX(double x) const {
    return timeForX(x, _maximum, 0.0, width(), endPad);
}

void TimeSlider::setValue(double seconds) {
    if (seconds == _value)
        return;
    // While a track plays only the strip between the old and the new cursor changes (the cursor
    // moves and the heard range grows with it); repainting just that strip keeps the tick cheap,
    // and a cursor that has moved less than half a pixel since it was drawn waits for the next.
    // Anything else that changes the ranges goes through setEntry, which repaints everything.
    _value = seconds;
    const double oldX = xForTime(_drawnValue);
    const double newX = xForTime(_value);
    if (std::abs(newX - oldX) < 0.5)
        return;
    _drawnValue = _value;
    const double margin = 10.0; // half the range bar's width and its round cap, and some
    update(QRectF(std::min(oldX, newX) - margin, 0.0, std::abs(newX - oldX) + 2 * margin, height())
               .toAlignedRect());
}

void TimeSlider::setEntry(const PlaylistEntryPtr& entry) {
    _entry = entry;
    _maximum = entry ? entry->duration().value_or(0.0) : 0.0;
    _value = _drawnValue = 0.0;
    clearZeroButtons();
    if (entry)
        for (double t : entry->zeros) {
            auto* button = new ZeroButton(this, t);
            button->show();
            _zeroButtons.push_back(button);
        }
    clearNoteButtons();
    if (entry)
        for (const std::shared_ptr<TextNote>& note : entry->noteSet()->notes) {
            auto* button = new NoteButton(this, note);
            button->show();
            _noteButtons.push_back(button);
        }
    placeMarkers();
    if (updateDisplays)
        updateDisplays();
    update();
}

void TimeSlider::clearZeroButtons() {
    // Later, not now: the button being removed may be the one whose menu is still running.
    for (ZeroButton* button : _zeroButtons) {
        button->hide();
        button->deleteLater();
    }
    _zeroButtons.clear();
}

void TimeSlider::clearNoteButtons() {
    for (NoteButton* button : _noteButtons) {
        button->hide();
        button->deleteLater();
    }
    _noteButtons.clear();
}

void TimeSlider::placeMarkers() {
    const double middle = height() / 2.0;
    for (ZeroButton* button : _zeroButtons)
        button->placeAt(xForTime(button->time), middle);
    for (NoteButton* button : _noteButtons)
        button->placeAt(xForTime(button->time), middle);
}

void TimeSlider::removeZero(ZeroButton* button) {
    auto found = std::find(_zeroButtons.begin(), _zeroButtons.end(), button);
    if (found != _zeroButtons.end()) {
        _zeroButtons.erase(found);
        button->hide();
        button->deleteLater();
    }
    if (!_entry)
        return;
    auto zero = std::find(_entry->zeros.begin(), _entry->zeros.end(), button->time);
    if (zero != _entry->zeros.end())
        _entry->zeros.erase(zero);
    setEntry(_entry);
}

void TimeSlider::removeNote(NoteButton* button) {
    auto found = std::find(_noteButtons.begin(), _noteButtons.end(), button);
    if (found == _noteButtons.end())
        return;
    _noteButtons.erase(found);
    button->hide();
    button->deleteLater();
    if (!_entry)
        return;
    // By identity rather than by marker index: should the note set have changed since the markers
    // were made, an index would remove some other note.
    const std::shared_ptr<TextNoteSet>& noteSet = _entry->noteSet();
    auto note = std::find(noteSet->notes.begin(), noteSet->notes.end(), button->note);
    if (note == noteSet->notes.end())
        return;
    noteSet->notes.erase(note);
    noteSet->altered = true;
    update();
}

void TimeSlider::pressAt(double x) {
    if (player)
        player->setCurrentTime(timeForX(x));
}

void TimeSlider::dragTo(double x) {
    if (player)
        player->setCurrentTime(timeForX(x));
    if (Scrubber* active = scrubber ? scrubber() : nullptr)
        active->setScrubbing(true);
}

void TimeSlider::releaseAt(double x) {
    if (Scrubber* active = scrubber ? scrubber() : nullptr)
        active->setScrubbing(false);
    if (player)
        player->setCurrentTime(timeForX(x));
}

void TimeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressAt(event->position().x());
}

void TimeSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        dragTo(event->position().x());
}

void TimeSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        releaseAt(event->position().x());
}

void TimeSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeMarkers();
}

void TimeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double middle = height() / 2.0;
    auto bar = [&](double from, double to, const QColor& color, double lineWidth) {
        painter.setPen(QPen(color, lineWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(xForTime(from), middle), QPointF(xForTime(to), middle));
    };
    bar(0.0, _maximum, Qt::black, 2.0);
    if (_entry) {
        const QColor accent = palette().color(QPalette::Active, QPalette::Highlight);
        QColor muted = accent;
        muted.setAlphaF(0.4f);
        for (const TimeRange& range : _entry->prevTimeRangeSet->ranges())
            bar(range.start, range.end, muted, 15.0);
        if (!_entry->currentTimeRangeSet)
            _entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
        for (const TimeRange& range : _entry->currentTimeRangeSet->ranges())
            bar(range.start, range.end, accent, 15.0);
    }
    painter.setPen(QPen(cursorColor, 3.5, Qt::SolidLine, Qt::RoundCap));
    const double x = xForTime(_value);
    painter.drawLine(QPointF(x, 3.5), QPointF(x, height() - 3.5));
}
