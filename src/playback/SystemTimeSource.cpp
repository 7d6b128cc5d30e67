#include "playback/SystemTimeSource.h"

#include <algorithm>
#include <climits>
#include <utility>

SystemTimeSource::SystemTimeSource() {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        if (deadline.remainingTime() > 0) {
            startForRemainder();
            return;
        }
        // The handler may arm again, which replaces `handler`: call a copy.
        const std::function<void()> due = std::exchange(handler, nullptr);
        if (due)
            due();
    });
}

QDateTime SystemTimeSource::now() const {
    return QDateTime::currentDateTime();
}

void SystemTimeSource::callAt(const QDateTime& when, std::function<void()> newHandler) {
    handler = std::move(newHandler);
    deadline = QDeadlineTimer(std::max<qint64>(0, now().msecsTo(when)), Qt::PreciseTimer);
    startForRemainder();
}

void SystemTimeSource::cancel() {
    timer.stop();
    handler = nullptr;
}

void SystemTimeSource::startForRemainder() {
    // QTimer counts in int milliseconds; a longer wait is covered in several runs.
    timer.start(int(std::min<qint64>(deadline.remainingTime(), INT_MAX)));
}
