#include "control/GameControllerSet.h"

#include "platform/Diagnostics.h"
#include "platform/SdlGameControllerSource.h"

#include <utility>

namespace {

using ButtonMap = GameControllerSet::ButtonMap;

// Controllers other than the Micro.
const ButtonMap buttonMapZera2{
    {GamepadInput::buttonB, RemoteControlButton::A},
    {GamepadInput::buttonA, RemoteControlButton::B},
    {GamepadInput::buttonX, RemoteControlButton::X},
    {GamepadInput::buttonY, RemoteControlButton::Y},
    {GamepadInput::leftShoulder, RemoteControlButton::L},
    {GamepadInput::rightShoulder, RemoteControlButton::R},
    {GamepadInput::dpadUp, RemoteControlButton::dpadUp},
    {GamepadInput::dpadDown, RemoteControlButton::dpadDown},
    {GamepadInput::dpadLeft, RemoteControlButton::dpadLeft},
    {GamepadInput::dpadRight, RemoteControlButton::dpadRight},
};

// Controllers of the "Switch Pro Controller" category.
const ButtonMap buttonMapMicro{
    {GamepadInput::buttonB, RemoteControlButton::B},
    {GamepadInput::buttonA, RemoteControlButton::A},
    {GamepadInput::buttonX, RemoteControlButton::Y},
    {GamepadInput::buttonY, RemoteControlButton::X},
    {GamepadInput::leftShoulder, RemoteControlButton::L},
    {GamepadInput::rightShoulder, RemoteControlButton::R},
    {GamepadInput::dpadUp, RemoteControlButton::dpadUp},
    {GamepadInput::dpadDown, RemoteControlButton::dpadDown},
    {GamepadInput::dpadLeft, RemoteControlButton::dpadLeft},
    {GamepadInput::dpadRight, RemoteControlButton::dpadRight},
    {GamepadInput::leftTrigger, RemoteControlButton::L2},
    {GamepadInput::rightTrigger, RemoteControlButton::R2},
};

} // namespace

GameControllerSet::GameControllerSet(RemoteControlDelegate* delegate, QObject* parent)
    : GameControllerSet(delegate, std::make_unique<SdlGameControllerSource>(), parent) {}

GameControllerSet::GameControllerSet(RemoteControlDelegate* delegate,
                                     std::unique_ptr<GameControllerSource> source, QObject* parent)
    : QObject(parent), _source(std::move(source)), _delegate(delegate) {
    refreshControllers();
    connect(_source.get(), &GameControllerSource::controllersChanged, this,
            &GameControllerSet::refreshControllers);
    connect(_source.get(), &GameControllerSource::inputChanged, this,
            &GameControllerSet::inputChanged);
}

GameControllerSet::~GameControllerSet() = default;

void GameControllerSet::refreshControllers() {
    const QList<GameControllerInfo> current = _source->controllers();
    bool changed = false;
    for (const GameControllerInfo& controller : current) {
        if (_controllersPaired.contains(controller.id) || !controller.hasExtendedGamepad)
            continue;
        const bool micro = controller.productCategory == QLatin1String(switchProControllerCategory);
        const QString vendor = !controller.vendorName.isEmpty() ? controller.vendorName
                               : micro                          ? QStringLiteral("switch")
                                                                : QStringLiteral("default");
        printLine(vendor + QStringLiteral(" added"));
        _layouts.insert(controller.id, micro ? &buttonMapMicro : &buttonMapZera2);
        printLine(controller.productCategory + QStringLiteral(" category"));
        changed = true;
    }

    QList<GameControllerId> ids;
    ids.reserve(current.size());
    for (const GameControllerInfo& controller : current)
        ids.append(controller.id);
    for (const GameControllerId id : std::as_const(_controllersPaired)) {
        if (!ids.contains(id)) {
            _layouts.remove(id);
            changed = true;
        }
    }
    _controllersPaired = ids;

    if (!changed)
        return;
    if (_delegate)
        _delegate->remoteControllersChanged(int(_controllersPaired.size()));
    emit controllersChanged();
}

void GameControllerSet::inputChanged(GameControllerId controller, GamepadInput input,
                                     bool pressed) {
    const auto layout = _layouts.constFind(controller);
    if (layout == _layouts.constEnd())
        return;
    const auto mapped = (*layout)->find(input);
    if (mapped != (*layout)->end())
        buttonChanged(pressed, mapped->second);
}

void GameControllerSet::buttonChanged(bool pressed, RemoteControlButton button) {
    if (pressed) {
        if (_delegate)
            _delegate->remoteButtonPressed(button);
        _prevButtonPressed = button;
    } else if (_delegate) {
        _delegate->remoteButtonReleased(button);
    }
}
