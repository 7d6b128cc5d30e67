#include "platform/SdlGameControllerSource.h"

#include "platform/VirtualGameController.h"

#include <SDL.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

namespace {

struct Change {
    GameControllerId controller;
    GamepadInput input;
    bool pressed;
    bool operator==(const Change&) const = default;
};

// Collects what the source reports.
struct Recorder {
    explicit Recorder(SdlGameControllerSource& source) {
        QObject::connect(&source, &GameControllerSource::controllersChanged,
                         [this] { ++controllersChanged; });
        QObject::connect(&source, &GameControllerSource::inputChanged,
                         [this](GameControllerId controller, GamepadInput input, bool pressed) {
                             changes.push_back({controller, input, pressed});
                         });
    }
    std::vector<Change> takeChanges() { return std::exchange(changes, {}); }

    int controllersChanged = 0;
    std::vector<Change> changes;
};

std::optional<GameControllerInfo> find(const SdlGameControllerSource& source, SDL_JoystickID id) {
    const QList<GameControllerInfo> list = source.controllers();
    const auto found = std::find_if(list.begin(), list.end(),
                                    [id](const GameControllerInfo& info) { return info.id == id; });
    if (found == list.end())
        return std::nullopt;
    return *found;
}

} // namespace

TEST(SdlGameControllerSource, listsControllersWithTheirIdentityAsTheyComeAndGo) {
    SdlGameControllerSource source;
    Recorder recorder(source);
    const qsizetype before = source.controllers().size();

    VirtualGameController micro(VirtualGameController::nintendo, VirtualGameController::switchPro,
                                "8BitDo Micro gamepad");
    VirtualGameController generic(0x1234, 0x5678, "Generic Pad");
    VirtualGameController stick(0x1111, 0x2222, "Plain Stick", false);
    EXPECT_EQ(source.controllers().size(), before) << "nothing changes between polls";
    source.poll();
    EXPECT_EQ(recorder.controllersChanged, 1);
    EXPECT_EQ(source.controllers().size(), before + 3);

    const auto microInfo = find(source, micro.id());
    ASSERT_TRUE(microInfo);
    EXPECT_TRUE(microInfo->hasExtendedGamepad);
    EXPECT_EQ(microInfo->productCategory, "Switch Pro Controller");
    EXPECT_EQ(microInfo->vendorName, "8BitDo Micro gamepad");
    const auto genericInfo = find(source, generic.id());
    ASSERT_TRUE(genericInfo);
    EXPECT_TRUE(genericInfo->hasExtendedGamepad);
    EXPECT_EQ(genericInfo->productCategory, "Virtual Controller");
    EXPECT_EQ(genericInfo->vendorName, "Generic Pad");
    const auto stickInfo = find(source, stick.id());
    ASSERT_TRUE(stickInfo);
    EXPECT_FALSE(stickInfo->hasExtendedGamepad);

    // A device without a game-controller mapping has no inputs to report.
    stick.setButton(SDL_CONTROLLER_BUTTON_A, true);
    source.poll();
    EXPECT_EQ(recorder.controllersChanged, 1);
    EXPECT_TRUE(recorder.changes.empty());

    generic.disconnect();
    source.poll();
    EXPECT_EQ(recorder.controllersChanged, 2);
    EXPECT_FALSE(find(source, generic.id()));
    EXPECT_TRUE(find(source, micro.id()));
    EXPECT_EQ(source.controllers().size(), before + 2);
}

TEST(SdlGameControllerSource, reportsEachPositionalInputOnceWhenItChanges) {
    SdlGameControllerSource source;
    Recorder recorder(source);
    VirtualGameController micro(VirtualGameController::nintendo, VirtualGameController::switchPro,
                                "8BitDo Micro gamepad");
    VirtualGameController generic(0x1234, 0x5678, "Generic Pad");
    source.poll();

    // Nintendo layouts too are read by position, not by the labels printed on the buttons.
    const std::pair<SDL_GameControllerButton, GamepadInput> buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, GamepadInput::buttonA},
        {SDL_CONTROLLER_BUTTON_B, GamepadInput::buttonB},
        {SDL_CONTROLLER_BUTTON_X, GamepadInput::buttonX},
        {SDL_CONTROLLER_BUTTON_Y, GamepadInput::buttonY},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, GamepadInput::leftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, GamepadInput::rightShoulder},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, GamepadInput::dpadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, GamepadInput::dpadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, GamepadInput::dpadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, GamepadInput::dpadRight},
    };
    for (const auto& [button, input] : buttons) {
        micro.setButton(button, true);
        source.poll();
        source.poll();
        EXPECT_EQ(recorder.takeChanges(), (std::vector<Change>{{micro.id(), input, true}}))
            << "held for two polls, pressed once";
        micro.setButton(button, false);
        source.poll();
        EXPECT_EQ(recorder.takeChanges(), (std::vector<Change>{{micro.id(), input, false}}));
    }

    // Buttons the remote does not read are not reported.
    micro.setButton(SDL_CONTROLLER_BUTTON_START, true);
    source.poll();
    EXPECT_TRUE(recorder.takeChanges().empty());

    // A trigger counts as pressed beyond half of its travel.
    micro.setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -1000);
    source.poll();
    EXPECT_TRUE(recorder.takeChanges().empty());
    micro.setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 1000);
    micro.setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    source.poll();
    EXPECT_EQ(recorder.takeChanges(), (std::vector<Change>{
                                          {micro.id(), GamepadInput::leftTrigger, true},
                                          {micro.id(), GamepadInput::rightTrigger, true},
                                      }));
    micro.setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
    source.poll();
    EXPECT_EQ(recorder.takeChanges(),
              (std::vector<Change>{{micro.id(), GamepadInput::leftTrigger, false}}));

    // Presses on two controllers in one poll each name their controller.
    micro.setButton(SDL_CONTROLLER_BUTTON_A, true);
    generic.setButton(SDL_CONTROLLER_BUTTON_A, true);
    source.poll();
    const std::vector<Change> both = recorder.takeChanges();
    EXPECT_EQ(both.size(), 2u);
    EXPECT_NE(std::find(both.begin(), both.end(), Change{micro.id(), GamepadInput::buttonA, true}),
              both.end());
    EXPECT_NE(
        std::find(both.begin(), both.end(), Change{generic.id(), GamepadInput::buttonA, true}),
        both.end());
}

TEST(SdlGameControllerSource, leavesTheRestOfSdlRunningWhenDestroyed) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    {
        SdlGameControllerSource source;
        EXPECT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
    }
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
    EXPECT_TRUE(SDL_WasInit(SDL_INIT_AUDIO));
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
