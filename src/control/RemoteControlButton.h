#pragma once
// The logical buttons of the hand-held remote, whatever controller layout they come from.

#include <QString>

enum class RemoteControlButton {
    dpadUp,
    dpadDown,
    dpadLeft,
    dpadRight,
    A,
    B,
    X,
    Y,
    L,
    R,
    L2,
    R2,
    plus,
    minus,
    home,
    star,
};

// The case's name as written above ("dpadUp", "A", ...), for diagnostic lines.
QString remoteControlButtonName(RemoteControlButton button);
