#include "control/RemoteControlButton.h"

QString remoteControlButtonName(RemoteControlButton button) {
    switch (button) {
    case RemoteControlButton::dpadUp:
        return QStringLiteral("dpadUp");
    case RemoteControlButton::dpadDown:
        return QStringLiteral("dpadDown");
    case RemoteControlButton::dpadLeft:
        return QStringLiteral("dpadLeft");
    case RemoteControlButton::dpadRight:
        return QStringLiteral("dpadRight");
    case RemoteControlButton::A:
        return QStringLiteral("A");
    case RemoteControlButton::B:
        return QStringLiteral("B");
    case RemoteControlButton::X:
        return QStringLiteral("X");
    case RemoteControlButton::Y:
        return QStringLiteral("Y");
    case RemoteControlButton::L:
        return QStringLiteral("L");
    case RemoteControlButton::R:
        return QStringLiteral("R");
    case RemoteControlButton::L2:
        return QStringLiteral("L2");
    case RemoteControlButton::R2:
        return QStringLiteral("R2");
    case RemoteControlButton::plus:
        return QStringLiteral("plus");
    case RemoteControlButton::minus:
        return QStringLiteral("minus");
    case RemoteControlButton::home:
        return QStringLiteral("home");
    case RemoteControlButton::star:
        return QStringLiteral("star");
    }
    return QString::number(int(button));
}
