#pragma once
// The hand-held remote: watches the game controllers, gives every newcomer that has the extended
// gamepad profile one of two button layouts (named after the 8BitDo Zero 2 and Micro) and hands
// the logical buttons it produces to the delegate. Lives on the main thread.

#include "control/RemoteControlButton.h"
#include "control/RemoteControlDelegate.h"
#include "platform/GameControllerSource.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <map>
#include <memory>
#include <optional>

class GameControllerSet : public QObject {
    Q_OBJECT

public:
    using ButtonMap = std::map<GamepadInput, RemoteControlButton>;

    // Watches the system's game controllers (through SDL). The delegate is not owned and must
    // outlive the set; it may be null.
    explicit GameControllerSet(RemoteControlDelegate* delegate, QObject* parent = nullptr);
    // Watches the controllers of `source`, which the set then owns.
    GameControllerSet(RemoteControlDelegate* delegate, std::unique_ptr<GameControllerSource> source,
                      QObject* parent = nullptr);
    ~GameControllerSet() override;

    // Takes in the controllers that connected and forgets those that left; when either happened,
    // tells the delegate the new count and emits controllersChanged. Controllers seen before keep
    // the layout they were given.
    void refreshControllers();

    // The controllers seen at the last refresh, with or without the extended gamepad profile.
    const QList<GameControllerId>& controllersPaired() const { return _controllersPaired; }
    std::optional<RemoteControlButton> prevButtonPressed() const { return _prevButtonPressed; }

signals:
    void controllersChanged();

private:
    void inputChanged(GameControllerId controller, GamepadInput input, bool pressed);
    void buttonChanged(bool pressed, RemoteControlButton button);

    std::unique_ptr<GameControllerSource> _source;
    QList<GameControllerId> _controllersPaired;
    RemoteControlDelegate* _delegate;
    std::optional<RemoteControlButton> _prevButtonPressed;
    // The layout given to each paired controller that has the extended gamepad profile.
    QHash<GameControllerId, const ButtonMap*> _layouts;
};
