#pragma once
// A hand-set clock for the rest timer: tests move time forward and a pending call whose deadline
// has come runs at once.

#include "playback/TimeSource.h"

#include <optional>
#include <utility>

class FakeTimeSource : public TimeSource {
public:
    explicit FakeTimeSource(QDateTime start) : current(std::move(start)) {}

    QDateTime now() const override { return current; }

    void callAt(const QDateTime& deadline, std::function<void()> handler) override {
        pendingDeadline = deadline;
        pendingHandler = std::move(handler);
    }

    void cancel() override {
        pendingDeadline.reset();
        pendingHandler = nullptr;
    }

    void advance(double seconds) {
        current = current.addMSecs(qint64(seconds * 1000.0));
        if (pendingDeadline && *pendingDeadline <= current) {
            const std::function<void()> due = std::exchange(pendingHandler, nullptr);
            pendingDeadline.reset();
            due();
        }
    }

    std::optional<QDateTime> pendingDeadline;

private:
    QDateTime current;
    std::function<void()> pendingHandler;
};
