#pragma once
// Game controllers through SDL's game-controller API, without SDL's video subsystem. SDL is
// polled every 10 ms on the main thread: connects and disconnects show as a changed device list,
// presses and releases as inputs that differ from the previous poll. Only SDL's game-controller
// subsystem is started and stopped here, since SDL audio lives in the same process.

#include "platform/GameControllerSource.h"

#include <QTimer>
#include <bitset>
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

    bool _initialised = false;
    QTimer _timer;
    std::vector<Device> _devices;
};
