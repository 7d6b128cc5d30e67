#pragma once
// Receives what the remote does: the transport panel turns presses into transport commands.

#include "control/RemoteControlButton.h"

class RemoteControlDelegate {
public:
    virtual ~RemoteControlDelegate() = default;

    // A mapped button went down. Holding it does not repeat.
    virtual void remoteButtonPressed(RemoteControlButton button) = 0;
    // A mapped button came up.
    virtual void remoteButtonReleased(RemoteControlButton button) = 0;
    // The set of controllers changed; `count` is how many are paired now.
    virtual void remoteControllersChanged(int count) = 0;
};
