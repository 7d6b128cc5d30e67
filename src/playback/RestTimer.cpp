#include "playback/RestTimer.h"

#include "playback/SystemTimeSource.h"

#include <algorithm>

namespace {

// Far beyond any break, but keeps the deadline arithmetic finite for absurd stored values.
constexpr double longestBreakSeconds = 7.0 * 24 * 3600;

} // namespace

RestTimer::RestTimer(std::function<double()> timerDuration, std::unique_ptr<TimeSource> timeSource,
                     QObject* parent)
    : QObject(parent), timerDuration(std::move(timerDuration)),
      timeSource(timeSource ? std::move(timeSource) : std::make_unique<SystemTimeSource>()) {}

void RestTimer::arm() {
    const QDateTime armed = timeSource->now();
    _timeArmed = armed;
    _fired = false;
    timeSource->callAt(armed.addMSecs(qint64(breakSeconds() * 1000.0)), [this] { ring(); });
}

void RestTimer::disarm() {
    timeSource->cancel();
    _timeArmed.reset();
}

void RestTimer::toggle() {
    if (_timeArmed)
        disarm();
    else
        arm();
}

std::optional<double> RestTimer::fractionRemaining() const {
    if (!_timeArmed)
        return std::nullopt;
    const double elapsed = double(_timeArmed->msecsTo(timeSource->now())) / 1000.0;
    const double fraction = 1.0 - elapsed / breakSeconds();
    if (fraction <= 0.0)
        return std::nullopt;
    return std::min(fraction, 1.0);
}

double RestTimer::breakSeconds() const {
    const double minutes = timerDuration();
    // Below one minute (NaN included) counts as one minute.
    const double seconds = (minutes >= 1.0 ? minutes : 1.0) * 60.0;
    return std::min(seconds, longestBreakSeconds);
}

void RestTimer::ring() {
    _fired = true;
    emit rang();
}
