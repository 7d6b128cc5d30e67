// Varlin as the desktop sees it: the MPRIS player on a bus of the test's own, driven as a panel
// applet or a phone drives it. That each change is announced once, and play, pause, a position
// and the volume from playerctl, are in tests/e2e/media_controls.py.

#include "shell/DesktopPresence.h"

#include "MainViewFixture.h"
#include "control/MprisService.h"
#include "shell/AppDelegate.h"
#include "support/PrivateBus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

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

    // A call on `interface` (the player's unless told) and its first answer, as a plain value.
    QVariant call(const QString& method, const QVariantList& arguments = {},
                  const QString& interface = MprisService::playerInterface) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            MprisService::serviceName, MprisService::objectPath, interface, method);
        message.setArguments(arguments);
        // The program answers on this thread: the call must let it run.
        const QDBusMessage reply = client.call(message, QDBus::BlockWithGui);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        const QVariant value = reply.arguments().value(0);
        return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
    }
    void setProperty(const QString& name, const QVariant& value) {
        call("Set", {MprisService::playerInterface, name, QVariant::fromValue(QDBusVariant(value))},
             properties);
    }

    const QString properties = "org.freedesktop.DBus.Properties";
    AppDelegate delegate;
    PrivateBus bus;
    QDBusConnection client = bus.connect("client");
    std::unique_ptr<DesktopPresence> presence;
};

// The rest of the metadata is read by playerctl in tests/e2e/media_controls.py.
TEST_F(DesktopPresenceTest, theDesktopSeesTheTrackAndItsCallsRunTheRemotesCommands) {
    entry(0)->tags = "[W]";
    const QVariantMap data =
        qdbus_cast<QVariantMap>(call("Get", {MprisService::playerInterface, "Metadata"}, properties)
                                    .value<QDBusArgument>());
    EXPECT_EQ(data["xesam:title"], PlaylistTableModel::titleOf(*entry(0))) << "without the tags";

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
    setProperty("Volume", 0.25);
    EXPECT_FLOAT_EQ(controller->volume(), 0.25f);
}
