#pragma once
// The time the break timer runs on: what time it is, and a single cancellable call at a deadline.
// The program uses SystemTimeSource; tests drive a hand-set clock.

#include <QDateTime>
#include <functional>

class TimeSource {
public:
    virtual ~TimeSource() = default;

    virtual QDateTime now() const = 0;
    // Calls `handler` once on the main thread when `deadline` has come, replacing any pending call.
    virtual void callAt(const QDateTime& deadline, std::function<void()> handler) = 0;
    virtual void cancel() = 0;
};
