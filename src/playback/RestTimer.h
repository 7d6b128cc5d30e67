#pragma once
// The break between two dances: armed when the music stops, it rings once the configured break
// length has passed, and the clock face draws it (RestTimerDial::draw) as a countdown ring and
// then as the overtime sector. Everything, the deadline included, happens on the main thread;
// connect `rang` to the bell's SoundEffect::play.

#include "playback/TimeSource.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class RestTimer : public QObject {
    Q_OBJECT
public:
    // `timerDuration` gives the break length in minutes as stored; a null time source means the
    // wall clock.
    explicit RestTimer(std::function<double()> timerDuration,
                       std::unique_ptr<TimeSource> timeSource = nullptr, QObject* parent = nullptr);

    // Starts, or restarts, the break countdown now.
    void arm();
    void disarm();
    void toggle();

    // 1 at arming down towards 0; none when disarmed or once the break is over.
    std::optional<double> fractionRemaining() const;
    std::optional<QDateTime> timeArmed() const { return _timeArmed; }
    bool fired() const { return _fired; }
    QDateTime now() const { return timeSource->now(); }

signals:
    void rang();

private:
    double breakSeconds() const;
    void ring();

    std::function<double()> timerDuration;
    std::unique_ptr<TimeSource> timeSource;
    std::optional<QDateTime> _timeArmed;
    bool _fired = false;
};
