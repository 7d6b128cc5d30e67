#include "shell/DisplayController.h"

#include "model/TimeString.h"
#include "playback/Player.h"
#include "shell/InterceptingTextField.h"
#include "shell/MainView.h"
#include "table/EntryCommandHost.h"
#include "waveform/TimeSlider.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace {
const QString noTime = QStringLiteral("--:--");
const QString widestTime = QStringLiteral("99:59");
constexpr double measuredPointSize = 12.0;

QString displayTime(double seconds) {
    return timeString(0, 2, seconds);
}
} // namespace

DisplayController::DisplayController(MainView& view, Player& player, EntryCommandHost& host,
                                     QObject* parent)
    : QObject(parent), view(view), player(player), host(host) {
    _ticker.setInterval(tickInterval);
    connect(&_ticker, &QTimer::timeout, this, &DisplayController::updateElapsedTime);
    // The field gets its first real size from a layout pass after the window's own resize,
    // so the fonts follow the field itself rather than only the window.
    view.timeSinceZeroText->installEventFilter(this);
}

void DisplayController::setPlaying(bool playing) {
    if (playing) {
        if (!_ticker.isActive())
            _ticker.start();
        return;
    }
    _ticker.stop();
    updateElapsedTime();
}

void DisplayController::updateElapsedTime() {
    player.recordPlayedRange();
    const double t = player.currentTime();
    if (t != host.playlist().currentTime)
        updateDisplays(t);
}

void DisplayController::updateDisplays() {
    updateDisplays(player.currentTime());
}

void DisplayController::updateDisplays(double t) {
    Playlist& playlist = host.playlist();
    const PlaylistEntryPtr& entry = playlist.assignedEntry;
    if (!entry) {
        showNoEntry();
    } else {
        const std::optional<double> d = entry->duration();
        if (d && !entry->playProblem) {
            const double zero = entry->previousZero(t);
            const double sinceZero = std::trunc(t - zero);
            // Never negative: a position past the measured length shows 0:00.
            const double remaining = std::max(std::trunc(*d - zero) - sinceZero, 0.0);
            setText(view.timeSinceZeroText, displayTime(sinceZero), true);
            setText(view.timeRemainingText, displayTime(remaining), true);
        } else {
            // A file that cannot be played has no times to show.
            setText(view.timeSinceZeroText, noTime, false);
            setText(view.timeRemainingText, noTime, false);
        }

        const QString tags = entry->tags.value_or(QString());
        QString name = entry->url().fileName();
        if (name.endsWith(QLatin1String(".mp3")))
            name.chop(4);
        setText(view.entryName, tags + QLatin1Char(' ') + name + QLatin1Char(' ') + tags, true);

        if (!noteHeld) {
            const auto& notes = entry->noteSet();
            _currentNote = notes->noteNear(t);
            if (!_currentNote)
                _currentNote = notes->noteNear(0.0);
            const QString note = _currentNote ? _currentNote->text : playlist.folderText(*entry);
            if (view.noteTextField->text() != note)
                view.noteTextField->setText(note);
        }
    }
    // A file that cannot be played has no position either: the marker rests at the start.
    view.timeSlider->setValue(entry && entry->playProblem ? 0.0 : t);
    if (const std::optional<int> row = playlist.currentItem())
        emit playedCellChanged(*row);
    playlist.currentTime = t;
}

void DisplayController::showNoEntry() {
    setText(view.timeSinceZeroText, noTime, false);
    setText(view.timeRemainingText, noTime, false);
    setText(view.entryName, QString(), true);
    if (!noteHeld) {
        _currentNote = nullptr;
        view.noteTextField->clear();
    }
}

void DisplayController::setText(QLabel* label, const QString& text, bool enabled) {
    label->setText(text);
    label->setEnabled(enabled);
}

QFont DisplayController::timeFont(double pointSize) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    font.setPointSizeF(pointSize);
    return font;
}

double DisplayController::fittedTimeFontSize(QSizeF frame) {
    const QFontMetricsF metrics(timeFont(measuredPointSize));
    const double width = metrics.horizontalAdvance(widestTime);
    const double height = metrics.height();
    const double scale =
        std::min((frame.width() - 5) / width, (frame.height() - 5) / (height * 0.77));
    return std::max(measuredPointSize * scale, 1.0);
}

bool DisplayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view.timeSinceZeroText && event->type() == QEvent::Resize)
        fitTimeFonts();
    return QObject::eventFilter(watched, event);
}

void DisplayController::fitTimeFonts() {
    const QFont font = timeFont(fittedTimeFontSize(QSizeF(view.timeSinceZeroText->size())));
    view.timeSinceZeroText->setFont(font);
    view.timeRemainingText->setFont(font);
}
