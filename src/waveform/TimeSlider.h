#pragma once
// The main window's position control: the track as a line with its heard ranges as thick bars,
// the playing position as a red cursor, and one marker per zero mark and per note of the entry.
// Pressing or dragging on it seeks the player (scrubbing while dragging); a marker's menu removes
// its zero or note. Its background is clear so that it sits over the waveform image.

#include "model/PlaylistEntry.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <vector>

class NoteButton;
class Player;
class Scrubber;
class ZeroButton;

class TimeSlider : public QWidget {
    Q_OBJECT
public:
    explicit TimeSlider(QWidget* parent = nullptr);

    // x(t) over a slider whose bounds start at `left` and are `width` wide: the track line runs
    // from left + endPad to left + width - endPad. 0 for a maximum of 0.001 s or less.
    static double xForTime(double t, double maximum, double left, double width, double endPad);
    // t(x), the inverse; not clamped, so an end margin gives a time below 0 or beyond the
    // maximum (the player's seek clamps it).
    static double timeForX(double x, double maximum, double left, double width, double endPad);

    // Shows a new entry or re-reads the current one: its duration, zeros and notes.
    void setEntry(const PlaylistEntryPtr& entry);
    const PlaylistEntryPtr& entry() const { return _entry; }
    void setPlayer(Player* player) { this->player = player; }

    double value() const { return _value; }
    // The playing position, written by the main tick.
    void setValue(double seconds);
    double maximum() const { return _maximum; }

    double xForTime(double t) const;
    double timeForX(double x) const;

    // Mouse handling in the slider's own coordinates; the markers pass their presses here too.
    void pressAt(double x);
    void dragTo(double x);
    void releaseAt(double x);

    void removeZero(ZeroButton* button);
    void removeNote(NoteButton* button);

    const std::vector<ZeroButton*>& zeroButtons() const { return _zeroButtons; }
    const std::vector<NoteButton*>& noteButtons() const { return _noteButtons; }

    // Reaches the main controller: refresh the time displays, and its scrubber of the moment.
    std::function<void()> updateDisplays;
    std::function<Scrubber*()> scrubber;

    const double endPad = 10.0;
    const QColor cursorColor = QColor(255, 0, 0);
    const double buttonSize = 17.0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void clearZeroButtons();
    void clearNoteButtons();
    void placeMarkers();
    void seek(double x);

    std::vector<ZeroButton*> _zeroButtons;
    std::vector<NoteButton*> _noteButtons;
    PlaylistEntryPtr _entry;
    Player* player = nullptr;
    double _value = 0.0;
    double _drawnValue = 0.0; // where the cursor was last asked to be drawn
    double _maximum = 0.0;
};
