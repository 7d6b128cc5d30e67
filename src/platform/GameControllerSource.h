#pragma once
// The game controllers the system knows, as the remote sees them: a list of controllers with
// their identity, a notification when that list changes and one when an input of a controller
// goes down or up. SdlGameControllerSource is the real one. Signals arrive on the main thread.

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>

// Stays the same while a controller is connected; a controller that reconnects gets a new one.
using GameControllerId = int32_t;

// The inputs of the extended gamepad profile that the remote reads. Positional: buttonA is the
// bottom face button, buttonB the right, buttonX the left and buttonY the top one.
enum class GamepadInput {
    buttonA,
    buttonB,
    buttonX,
    buttonY,
    leftShoulder,
    rightShoulder,
    dpadUp,
    dpadDown,
    dpadLeft,
    dpadRight,
    leftTrigger,
    rightTrigger,
};
inline constexpr int gamepadInputCount = int(GamepadInput::rightTrigger) + 1;

// The product category of controllers of the Nintendo Switch Pro type (the 8BitDo Micro among
// them).
inline constexpr char switchProControllerCategory[] = "Switch Pro Controller";

struct GameControllerInfo {
    GameControllerId id = 0;
    // Whether the controller has the extended gamepad profile, i.e. its inputs are known.
    bool hasExtendedGamepad = false;
    QString productCategory;
    // Empty when the controller reports none.
    QString vendorName;
};

class GameControllerSource : public QObject {
    Q_OBJECT

public:
    explicit GameControllerSource(QObject* parent = nullptr);
    ~GameControllerSource() override;

    // The controllers connected now, in the system's order.
    virtual QList<GameControllerInfo> controllers() const = 0;

signals:
    // A controller connected or disconnected.
    void controllersChanged();
    // One input of a connected controller with the extended gamepad profile went down or up.
    // Holding an input reports nothing further.
    void inputChanged(GameControllerId controller, GamepadInput input, bool pressed);
};
