#pragma once
// Stands the model's clock at a given moment for the life of the object.

#include "model/WallClock.h"

#include <QDateTime>

class FixedClock {
public:
    explicit FixedClock(QDateTime now) : _now(std::move(now)) {
        WallClock::setSource([this] { return _now; });
    }
    ~FixedClock() { WallClock::setSource({}); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void set(QDateTime now) { _now = std::move(now); }
    void advance(qint64 seconds) { _now = _now.addSecs(seconds); }

private:
    QDateTime _now;
};
