#include "platform/SdlGameControllerSource.h"

#include "platform/Diagnostics.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// Presses are read this often while a controller is connected: well under the time a press
// lasts, and quick enough that the command feels immediate.
constexpr std::chrono::milliseconds pressPollInterval{10};
// With nothing to read, polling only looks out for a controller being plugged in; every wakeup
// costs battery, and a second is soon enough for a remote being switched on.
constexpr std::chrono::milliseconds plugPollInterval{1000};

// Triggers report 0 … 32767; they count as pressed beyond half of their travel.
constexpr Sint16 triggerPressedAbove = SDL_JOYSTICK_AXIS_MAX / 2;

constexpr std::array<std::pair<GamepadInput, SDL_GameControllerButton>, 10> buttonInputs{{
    {GamepadInput::buttonA, SDL_CONTROLLER_BUTTON_A},
    {GamepadInput::buttonB, SDL_CONTROLLER_BUTTON_B},
    {GamepadInput::buttonX, SDL_CONTROLLER_BUTTON_X},
    {GamepadInput::buttonY, SDL_CONTROLLER_BUTTON_Y},
    {GamepadInput::leftShoulder, SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {GamepadInput::rightShoulder, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {GamepadInput::dpadUp, SDL_CONTROLLER_BUTTON_DPAD_UP},
    {GamepadInput::dpadDown, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {GamepadInput::dpadLeft, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
    {GamepadInput::dpadRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
}};

constexpr std::array<std::pair<GamepadInput, SDL_GameControllerAxis>, 2> triggerInputs{{
    {GamepadInput::leftTrigger, SDL_CONTROLLER_AXIS_TRIGGERLEFT},
    {GamepadInput::rightTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT},
}};

QString productCategory(SDL_GameControllerType type) {
    switch (type) {
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
        return QString::fromLatin1(switchProControllerCategory);
    case SDL_CONTROLLER_TYPE_XBOX360:
        return QStringLiteral("Xbox 360 Controller");
    case SDL_CONTROLLER_TYPE_XBOXONE:
        return QStringLiteral("Xbox One Controller");
    case SDL_CONTROLLER_TYPE_PS3:
        return QStringLiteral("PS3 Controller");
    case SDL_CONTROLLER_TYPE_PS4:
        return QStringLiteral("PS4 Controller");
    case SDL_CONTROLLER_TYPE_PS5:
        return QStringLiteral("PS5 Controller");
    case SDL_CONTROLLER_TYPE_VIRTUAL:
        return QStringLiteral("Virtual Controller");
    case SDL_CONTROLLER_TYPE_AMAZON_LUNA:
        return QStringLiteral("Amazon Luna Controller");
    case SDL_CONTROLLER_TYPE_GOOGLE_STADIA:
        return QStringLiteral("Google Stadia Controller");
    case SDL_CONTROLLER_TYPE_NVIDIA_SHIELD:
        return QStringLiteral("NVIDIA Shield Controller");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
        return QStringLiteral("Nintendo Switch Joy-Con (L)");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
        return QStringLiteral("Nintendo Switch Joy-Con (R)");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return QStringLiteral("Nintendo Switch Joy-Con (L/R)");
    case SDL_CONTROLLER_TYPE_UNKNOWN:
        break;
    }
    return QStringLiteral("Gamepad");
}

std::bitset<gamepadInputCount> readInputs(SDL_GameController* controller) {
    std::bitset<gamepadInputCount> pressed;
    for (const auto& [input, button] : buttonInputs)
        pressed[size_t(input)] = SDL_GameControllerGetButton(controller, button) != 0;
    for (const auto& [input, axis] : triggerInputs)
        pressed[size_t(input)] = SDL_GameControllerGetAxis(controller, axis) > triggerPressedAbove;
    return pressed;
}

} // namespace

SdlGameControllerSource::SdlGameControllerSource(QObject* parent) : GameControllerSource(parent) {
    // Left to itself SDL would take SIGINT and SIGTERM away from the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The button maps are positional: Nintendo layouts must not be swapped to match their labels.
    SDL_SetHintWithPriority(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        printLine(QStringLiteral("No game controllers: ") + QString::fromUtf8(SDL_GetError()));
        return;
    }
    _initialised = true;
    // States are polled and nothing reads SDL's event queue, so keep controller events out of it.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    updateDevices();
    choosePollInterval();
    connect(&_timer, &QTimer::timeout, this, &SdlGameControllerSource::poll);
    _timer.start();
}

SdlGameControllerSource::~SdlGameControllerSource() {
    // Whoever shut SDL down entirely has already freed the controllers.
    if (!_initialised || !SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        return;
    for (const Device& device : _devices) {
        if (device.controller)
            SDL_GameControllerClose(device.controller);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

QList<GameControllerInfo> SdlGameControllerSource::controllers() const {
    QList<GameControllerInfo> list;
    list.reserve(qsizetype(_devices.size()));
    for (const Device& device : _devices)
        list.append(device.info);
    return list;
}

void SdlGameControllerSource::poll() {
    if (!_initialised)
        return;
    // Also runs SDL's device detection, which is how hot-plugged controllers are found.
    SDL_GameControllerUpdate();
    if (updateDevices()) {
        choosePollInterval();
        emit controllersChanged();
    }
    reportInputChanges();
}

void SdlGameControllerSource::choosePollInterval() {
    const bool readable = std::any_of(_devices.begin(), _devices.end(),
                                      [](const Device& device) { return device.controller; });
    const auto interval = readable ? pressPollInterval : plugPollInterval;
    if (_timer.intervalAsDuration() != interval)
        _timer.setInterval(interval);
}

SdlGameControllerSource::Device SdlGameControllerSource::openDevice(int index) {
    Device device;
    device.info.id = SDL_JoystickGetDeviceInstanceID(index);
    device.info.productCategory = productCategory(SDL_GameControllerTypeForIndex(index));
    if (SDL_IsGameController(index))
        device.controller = SDL_GameControllerOpen(index);
    if (device.controller) {
        device.info.hasExtendedGamepad = true;
        device.info.vendorName = QString::fromUtf8(SDL_GameControllerName(device.controller));
    } else {
        device.info.vendorName = QString::fromUtf8(SDL_JoystickNameForIndex(index));
    }
    return device;
}

bool SdlGameControllerSource::updateDevices() {
    std::vector<Device> previous = std::exchange(_devices, {});
    bool added = false;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        const auto known =
            std::find_if(previous.begin(), previous.end(),
                         [id](const Device& device) { return device.info.id == id; });
        if (known == previous.end()) {
            _devices.push_back(openDevice(index));
            added = true;
        } else {
            _devices.push_back(*known);
            previous.erase(known);
        }
    }
    // What is left has disconnected.
    for (const Device& device : previous) {
        if (device.controller)
            SDL_GameControllerClose(device.controller);
    }
    return added || !previous.empty();
}

void SdlGameControllerSource::reportInputChanges() {
    struct Change {
        GameControllerId controller;
        GamepadInput input;
        bool pressed;
    };
    // Collected first so that receivers see this poll's state even if they poll again.
    std::vector<Change> changes;
    for (Device& device : _devices) {
        if (!device.controller)
            continue;
        const InputState now = readInputs(device.controller);
        const InputState flipped = now ^ device.pressed;
        for (size_t input = 0; input < flipped.size(); ++input) {
            if (flipped[input])
                changes.push_back({device.info.id, GamepadInput(input), now[input]});
        }
        device.pressed = now;
    }
    for (const Change& change : changes)
        emit inputChanged(change.controller, change.input, change.pressed);
}
