#pragma once
// Game controllers through SDL's game-controller API, without SDL's video subsystem. SDL is
// polled on the main thread: every 10 ms while a controller with buttons to read is connected,
// once a second otherwise, which is all it takes to notice one being plugged in. Connects and
// disconnects show as a changed device list, presses and releases as inputs that differ from the
// previous poll. Only SDL's game-controller subsystem is started and stopped here, since SDL audio
// lives in the same process.

#include "platform/GameControllerSource.h"

#include <QTimer>
#include <bitset>
#include <chrono>
#include <vector>

struct _SDL_GameController;

class SdlGameControllerSource final : public GameControllerSource {
public:
    explicit SdlGameControllerSource(QObject* parent = nullptr);
    ~SdlGameControllerSource() override;

    QList<GameControllerInfo> controllers() const override;

    // One poll: first the controllers that came or went, then the inputs that changed. The timer
    // calls it; tests call it directly.
    void poll();

    // How often poll() runs now.
    std::chrono::milliseconds pollInterval() const { return _timer.intervalAsDuration(); }

private:
    using InputState = std::bitset<gamepadInputCount>;

    struct Device {
        GameControllerInfo info;
        _SDL_GameController* controller = nullptr; // open only with the extended gamepad profile
        InputState pressed;
    };

    static Device openDevice(int index);
    // True when a controller connected or disconnected since the last call.
    bool updateDevices();
    void reportInputChanges();
    void choosePollInterval();

    bool _initialised = false;
    QTimer _timer;
    std::vector<Device> _devices;
};
