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
        pending.emplace(deadline, std::move(handler));
    }
    void cancel() override { pending.reset(); }

    void advance(double seconds) {
        current = current.addMSecs(qint64(seconds * 1000.0));
        if (pending && pending->first <= current)
            std::exchange(pending, std::nullopt)->second();
    }

private:
    QDateTime current;
    std::optional<std::pair<QDateTime, std::function<void()>>> pending;
};
