#include "control/GameControllerSet.h"

#include "platform/Diagnostics.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/VirtualGameController.h"

#include <QSignalSpy>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

// Writes down every call as one line: "pressed A", "released A", "changed 1".
class RecordingDelegate final : public RemoteControlDelegate {
public:
    void remoteButtonPressed(RemoteControlButton button) override {
        events.append("pressed " + remoteControlButtonName(button));
    }
    void remoteButtonReleased(RemoteControlButton button) override {
        events.append("released " + remoteControlButtonName(button));
    }
    void remoteControllersChanged(int count) override {
        events.append("changed " + QString::number(count));
    }
    QStringList take() { return std::exchange(events, {}); }

    QStringList events;
};

// A remote over real SDL controllers, polled by hand.
struct Remote {
    explicit Remote(RemoteControlDelegate* delegate) {
        auto owned = std::make_unique<SdlGameControllerSource>();
        source = owned.get();
        set = std::make_unique<GameControllerSet>(delegate, std::move(owned));
    }
    SdlGameControllerSource* source;
    std::unique_ptr<GameControllerSet> set;
};

// Presses and releases each button in turn, polling twice while it is held.
void click(VirtualGameController& controller, Remote& remote,
           std::initializer_list<SDL_GameControllerButton> buttons) {
    for (SDL_GameControllerButton button : buttons) {
        controller.setButton(button, true);
        remote.source->poll();
        remote.source->poll();
        controller.setButton(button, false);
        remote.source->poll();
    }
}

// A trigger counts as pressed beyond half of its travel: raw -1000 is just under, 1000 just over.
void pull(VirtualGameController& controller, Remote& remote, SDL_GameControllerAxis trigger) {
    for (Sint16 value : {-1000, 1000}) {
        controller.setAxis(trigger, value);
        remote.source->poll();
        controller.setAxis(trigger, SDL_JOYSTICK_AXIS_MIN);
        remote.source->poll();
    }
}

} // namespace

TEST(GameControllerSet, givesASwitchProControllerTheMicroLayoutAndOthersTheZero2One) {
    DiagnosticCapture capture;
    RecordingDelegate delegate;
    Remote remote(&delegate);
    QSignalSpy changes(remote.set.get(), &GameControllerSet::controllersChanged);

    VirtualGameController micro(VirtualGameController::nintendo, VirtualGameController::switchPro,
                                "8BitDo Micro gamepad");
    remote.source->poll();
    EXPECT_EQ(delegate.take(), QStringList{"changed 1"});
    EXPECT_EQ(capture.lines(),
              (QStringList{"8BitDo Micro gamepad added", "Switch Pro Controller category"}));

    // Nintendo layouts too are read by position, not by the labels printed on the buttons.
    click(micro, remote,
          {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
           SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_LEFT});
    pull(micro, remote, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    pull(micro, remote, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    EXPECT_EQ(delegate.take(), (QStringList{"pressed B", "released B", "pressed Y", "released Y",
                                            "pressed X", "released X", "pressed L", "released L",
                                            "pressed dpadLeft", "released dpadLeft", "pressed L2",
                                            "released L2", "pressed R2", "released R2"}));
    EXPECT_EQ(remote.set->prevButtonPressed(), RemoteControlButton::R2);

    micro.disconnect();
    VirtualGameController generic(0x1234, 0x5678, "Generic Pad");
    remote.source->poll();
    EXPECT_EQ(delegate.take(), (QStringList{"changed 1"}));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_TRUE(capture.lines().endsWith("Virtual Controller category"));
    // Start is not a remote button, and this layout has no triggers.
    click(generic, remote,
          {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_X,
           SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
           SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_START});
    pull(generic, remote, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    pull(generic, remote, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    EXPECT_EQ(delegate.take(),
              (QStringList{"pressed A", "released A", "pressed B", "released B", "pressed X",
                           "released X", "pressed Y", "released Y", "pressed R", "released R",
                           "pressed dpadUp", "released dpadUp"}));
    EXPECT_EQ(remote.set->prevButtonPressed(), RemoteControlButton::dpadUp);
}

TEST(GameControllerSet, countsControllersAsTheyConnectAndDisconnect) {
    DiagnosticCapture capture;
    RecordingDelegate delegate;
    Remote remote(&delegate);
    if (!remote.set->controllersPaired().isEmpty())
        GTEST_SKIP() << "a real game controller is connected";
    QSignalSpy changes(remote.set.get(), &GameControllerSet::controllersChanged);
    // Presses are polled for quickly only while there is a controller to press.
    using namespace std::chrono_literals;
    const auto polledSlowly = [&] { return remote.source->pollInterval() >= 500ms; };
    EXPECT_TRUE(polledSlowly());

    VirtualGameController micro(VirtualGameController::nintendo, VirtualGameController::switchPro,
                                "Micro");
    remote.source->poll();
    EXPECT_EQ(delegate.take(), QStringList{"changed 1"});
    EXPECT_LE(remote.source->pollInterval(), 20ms);
    capture.clear();

    // A device without a game-controller mapping is counted but gets no buttons, and its
    // arrival alone is no change.
    VirtualGameController stick(0x1111, 0x2222, "Plain Stick", false);
    remote.source->poll();
    click(stick, remote, {SDL_CONTROLLER_BUTTON_A});
    EXPECT_TRUE(delegate.events.isEmpty());
    EXPECT_TRUE(capture.lines().isEmpty());
    EXPECT_EQ(remote.set->controllersPaired().size(), 2);

    micro.disconnect();
    remote.source->poll();
    EXPECT_EQ(delegate.take(), QStringList{"changed 1"});
    EXPECT_TRUE(polledSlowly()) << "a stick without buttons to read";
    stick.disconnect();
    remote.source->poll();
    EXPECT_EQ(delegate.take(), QStringList{"changed 0"});
    EXPECT_TRUE(remote.set->controllersPaired().isEmpty());
    EXPECT_EQ(changes.count(), 3);
}

TEST(GameControllerSet, takesInControllersPresentAtCreationAndReconnectedOnes) {
    DiagnosticCapture capture;
    RecordingDelegate delegate;
    auto generic = std::make_unique<VirtualGameController>(0x1234, 0x5678, "Generic Pad");
    Remote remote(&delegate);
    EXPECT_EQ(delegate.take(), QStringList{"changed 1"});
    EXPECT_EQ(capture.lines(), (QStringList{"Generic Pad added", "Virtual Controller category"}));
    click(*generic, remote, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(delegate.take(), (QStringList{"pressed A", "released A"}));

    // Unplugged and plugged in again it is a new controller and gets its buttons again.
    generic.reset();
    remote.source->poll();
    generic = std::make_unique<VirtualGameController>(0x1234, 0x5678, "Generic Pad");
    remote.source->poll();
    click(*generic, remote, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(delegate.take(), (QStringList{"changed 0", "changed 1", "pressed A", "released A"}));
    EXPECT_EQ(capture.lines().count("Generic Pad added"), 2);
}

TEST(GameControllerSet, namesControllersWithoutAVendorNameByLayout) {
    DiagnosticCapture capture;
    // Works without a delegate too.
    Remote remote(nullptr);
    VirtualGameController micro(VirtualGameController::nintendo, VirtualGameController::switchPro,
                                "");
    VirtualGameController generic(0x1234, 0x5678, "");
    remote.source->poll();
    EXPECT_EQ(capture.lines(), (QStringList{"switch added", "Switch Pro Controller category",
                                            "default added", "Virtual Controller category"}));
    click(micro, remote, {SDL_CONTROLLER_BUTTON_X});
    EXPECT_EQ(remote.set->prevButtonPressed(), RemoteControlButton::Y);
}
