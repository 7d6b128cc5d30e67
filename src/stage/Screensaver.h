#pragma once
// The big clock that covers the window after two minutes without user action, unless music plays
// or the player previews. Every user action calls restartIdle(); mouse movement over its window
// does so by itself while that window is active.

#include "stage/Clock.h"

#include <QTimer>
#include <chrono>
#include <functional>

class Screensaver : public Clock {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds delayTime{120'000};

    // idleDelay exists for tests; the program always uses delayTime.
    explicit Screensaver(QWidget* parent = nullptr,
                         std::chrono::milliseconds idleDelay = delayTime);

    // True while the player plays or previews; no countdown runs and nothing shows meanwhile.
    void setIsMusicActive(std::function<bool()> hook);

    // The one-shot idle countdown; active only while it runs.
    const QTimer& saverTimer() const { return _saverTimer; }

public slots:
    void restartIdle();
    void activate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool musicActive() const;
    void coverParent();

    QTimer _saverTimer;
    std::function<bool()> _isMusicActive;
};
