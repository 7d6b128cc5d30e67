#pragma once
// The wall clock with a precise single-shot timer on the main thread.

#include "playback/TimeSource.h"

#include <QDeadlineTimer>
#include <QTimer>

class SystemTimeSource : public TimeSource {
public:
    SystemTimeSource();

    QDateTime now() const override;
    void callAt(const QDateTime& deadline, std::function<void()> handler) override;
    void cancel() override;

private:
    void startForRemainder();

    QTimer timer;
    QDeadlineTimer deadline;
    std::function<void()> handler;
};
