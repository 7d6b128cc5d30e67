#include "control/GameControllerSet.h"

#include "platform/Diagnostics.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/VirtualGameController.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

using Controller = VirtualGameController;

// A remote over real SDL controllers, polled by hand, whose delegate writes down every call as
// one line: "pressed A", "released A", "changed 1".
class GameControllerSetTest : public testing::Test, public RemoteControlDelegate {
protected:
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
    // What the delegate hears of each of these buttons pressed and released in turn.
    static QStringList clicks(const QStringList& buttons) {
        QStringList expected;
        for (const QString& button : buttons)
            expected << "pressed " + button << "released " + button;
        return expected;
    }

    // Made on first use, so that a test can plug controllers in before.
    GameControllerSet& remote() {
        if (!set) {
            auto owned = std::make_unique<SdlGameControllerSource>();
            source = owned.get();
            set = std::make_unique<GameControllerSet>(this, std::move(owned));
        }
        return *set;
    }
    void poll() {
        remote();
        source->poll();
    }
    // Presses and releases each button in turn, polling twice while it is held.
    void click(Controller& controller, std::initializer_list<SDL_GameControllerButton> buttons) {
        for (SDL_GameControllerButton button : buttons) {
            controller.setButton(button, true);
            poll();
            poll();
            controller.setButton(button, false);
            poll();
        }
    }
    // Pulls both triggers to just under half their travel (raw -1000), then just over (1000):
    // only the second counts as a press.
    void pullTriggers(Controller& controller) {
        for (SDL_GameControllerAxis trigger :
             {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
            for (Sint16 value : {-1000, 1000}) {
                controller.setAxis(trigger, value);
                poll();
                controller.setAxis(trigger, SDL_JOYSTICK_AXIS_MIN);
                poll();
            }
    }

    DiagnosticCapture capture;
    QStringList events;
    SdlGameControllerSource* source = nullptr;
    std::unique_ptr<GameControllerSet> set;
};

} // namespace

// Which button does what on each layout is tested through the transport's commands; how often the
// controllers are polled has no test of its own.
TEST_F(GameControllerSetTest, countsControllersAsTheyComeAndGoAndReadsTheTriggersOnTheMicroOnly) {
    Controller micro(Controller::nintendo, Controller::switchPro, "");
    auto generic = std::make_unique<Controller>(0x1234, 0x5678, "");
    remote();
    EXPECT_EQ(take(), QStringList{"changed 2"}) << "those present at creation are taken in";
    EXPECT_EQ(capture.lines(), (QStringList{"switch added", "Switch Pro Controller category",
                                            "default added", "Virtual Controller category"}));
    // The triggers count only past half their travel and only on the Micro's layout.
    pullTriggers(micro);
    pullTriggers(*generic);
    EXPECT_EQ(take(), clicks({"L2", "R2"}));
    EXPECT_EQ(remote().prevButtonPressed(), RemoteControlButton::R2);

    // Unplugged and plugged in again it is a new controller and gets its buttons again.
    generic.reset();
    poll();
    generic = std::make_unique<Controller>(0x1234, 0x5678, "");
    poll();
    click(micro, {SDL_CONTROLLER_BUTTON_X});
    click(*generic, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(take(), QStringList({"changed 1", "changed 2"}) + clicks({"Y", "A"}));

    // A device without a game-controller mapping is counted but gets no buttons, and its
    // arrival alone is no change.
    Controller stick(0x1111, 0x2222, "Plain Stick", false);
    poll();
    click(stick, {SDL_CONTROLLER_BUTTON_A});
    EXPECT_EQ(remote().controllersPaired().size(), 3);
    micro.disconnect();
    generic.reset();
    poll();
    stick.disconnect();
    poll();
    EXPECT_EQ(take(), (QStringList{"changed 1", "changed 0"}));
    EXPECT_EQ(capture.lines().size(), 6) << "the stick is not announced";
}
