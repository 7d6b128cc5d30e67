// Varlin as the desktop sees it: the MPRIS player on a bus of the test's own, driven as a panel
// applet or a phone drives it. That each change is announced once, and play, pause, a position
// and the volume from playerctl, are in tests/e2e/media_controls.py.

#include "shell/DesktopPresence.h"

#include "MainViewFixture.h"
#include "control/MprisService.h"
#include "shell/AppDelegate.h"
#include "support/PrivateBus.h"

#include <QDBusMessage>

class DesktopPresenceTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        delegate.setMainViewController(controller.get());
        delegate.applicationDidBecomeActive();
        openSession({"a.wav", "b.wav"}, 20.0, 0);
        presence = std::make_unique<DesktopPresence>(delegate, *view, bus.connect("program"),
                                                     bus.connect("system"));
    }

    // A call on the player, which must be answered.
    void call(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(MprisService::serviceName, MprisService::objectPath,
                                           MprisService::playerInterface, method);
        message.setArguments(arguments);
        // The program answers on this thread: the call must let it run.
        const QDBusMessage reply = client.call(message, QDBus::BlockWithGui);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    AppDelegate delegate;
    PrivateBus bus;
    QDBusConnection client = bus.connect("client");
    std::unique_ptr<DesktopPresence> presence;
};

TEST_F(DesktopPresenceTest, callsRunTheRemotesCommands) {
    entry(0)->zeros = {5.0, 12.0};
    player().setPreviewing(true);
    call("Play");
    EXPECT_TRUE(player().isPlaying());
    EXPECT_FALSE(player().previewing()) << "a press leaves prepare mode";
    const QVariant current = QVariant::fromValue(MprisService::trackId(entry(0).get()));
    const struct {
        const char* method;
        QVariantList arguments;
        double position;
    } presses[] = {
        {"Pause", {}, 0.0},
        {"Next", {}, 5.0},
        {"Seek", {qlonglong(2500000)}, 7.5},
        {"SetPosition", {current, qlonglong(9000000)}, 9.0},
    };
    for (const auto& step : presses) {
        call(step.method, step.arguments);
        EXPECT_NEAR(player().currentTime(), step.position, 0.01) << step.method;
    }
}
