// Varlin as the desktop sees it: the MPRIS player on a bus of the test's own, driven as a panel
// applet or a phone drives it, and the screen held on through a dance.

#include "shell/DesktopPresence.h"

#include "MainViewFixture.h"
#include "control/MprisService.h"
#include "control/TransportPanel.h"
#include "control/TransportViewController.h"
#include "services/IdleInhibitor.h"
#include "shell/AppDelegate.h"
#include "support/PrivateBus.h"
#include "table/PlaylistTableModel.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSlider>
#include <QToolButton>

namespace {

const QString playerInterface = MprisService::playerInterface;
const QString propertiesInterface = "org.freedesktop.DBus.Properties";

// What a second client hears: the names of the changed properties of each PropertiesChanged,
// and the positions of the Seeked signals.
class Listener : public QObject {
    Q_OBJECT
public:
    std::vector<std::string> changed;
    QList<qlonglong> seeks;

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& properties,
                           const QStringList&) {
        EXPECT_EQ(interface, playerInterface);
        changed.push_back(properties.keys().join(' ').toStdString());
    }
    void seeked(qlonglong position) { seeks.append(position); }
};

QVariant plain(const QVariant& value) {
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

} // namespace

class DesktopPresenceTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        delegate.setMainViewController(controller.get());
        delegate.applicationDidBecomeActive();
        openSession({"a.wav", "b.wav"}, 20.0, 0);
    }
    void TearDown() override { presence.reset(); }

    void present() {
        presence = std::make_unique<DesktopPresence>(delegate, *view, bus.connect("program"),
                                                     bus.connect("system"));
    }

    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            MprisService::serviceName, MprisService::objectPath, interface, method);
        message.setArguments(arguments);
        // The program answers on this thread: the call must let it run.
        const QDBusMessage reply = client.call(message, QDBus::BlockWithGui);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply;
    }
    void press(const QString& method, const QVariantList& arguments = {}) {
        call(playerInterface, method, arguments);
    }
    QVariant property(const QString& name, const QString& interface = playerInterface) {
        return plain(call(propertiesInterface, "Get", {interface, name}).arguments().value(0));
    }
    void setProperty(const QString& name, const QVariant& value) {
        call(propertiesInterface, "Set",
             {playerInterface, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata() {
        return qdbus_cast<QVariantMap>(property("Metadata").value<QDBusArgument>());
    }
    PlaylistEntryPtr entry(int row) { return playlist().allEntries[size_t(row)]; }

    AppDelegate delegate;
    PrivateBus bus;
    QDBusConnection client = bus.connect("client");
    std::unique_ptr<DesktopPresence> presence;
};

TEST_F(DesktopPresenceTest, theDesktopSeesTheTrackAndSetsRateAndVolume) {
    entry(0)->tags = "[W]";
    present();
    const QVariantMap data = metadata();
    EXPECT_EQ(data["mpris:trackid"].value<QDBusObjectPath>(),
              MprisService::trackId(entry(0).get()));
    EXPECT_EQ(data["xesam:title"], PlaylistTableModel::titleOf(*entry(0))) << "without the tags";
    EXPECT_EQ(data["xesam:url"], entry(0)->url().toString(QUrl::FullyEncoded));
    const QStringList types =
        property("SupportedMimeTypes", "org.mpris.MediaPlayer2").toStringList();
    EXPECT_TRUE(types.contains("audio/mpeg") && !types.contains("application/x-varlin-session"));

    // The nearest step of the slider, within its ends; zero is no rate.
    const struct {
        double asked;
        int slider;
    } rates[] = {{1.5, 68}, {5.0, 90}, {0.0, 90}, {0.1, 22}};
    for (const auto& rate : rates) {
        setProperty("Rate", rate.asked);
        EXPECT_EQ(view->transportPanel->rateSlider->value(), rate.slider) << rate.asked;
    }
    EXPECT_DOUBLE_EQ(property("Rate").toDouble(), 22.0 / 45);
    view->transportPanel->doubleSpeed->setChecked(true);
    EXPECT_DOUBLE_EQ(property("Rate").toDouble(), 2.0);
    setProperty("Volume", 0.25);
    EXPECT_FLOAT_EQ(controller->volume(), 0.25f);
}

TEST_F(DesktopPresenceTest, callsRunTheRemotesCommandsAndLeavePrepareMode) {
    present();
    entry(0)->zeros = {5.0, 12.0};
    player().setPreviewing(true);
    press("Play");
    EXPECT_TRUE(player().isPlaying());
    EXPECT_FALSE(player().previewing()) << "a press leaves prepare mode";

    const QVariant current = QVariant::fromValue(MprisService::trackId(entry(0).get()));
    const QVariant stale = QVariant::fromValue(MprisService::trackId(entry(1).get()));
    const struct {
        const char* method;
        QVariantList arguments;
        double position;
    } presses[] = {
        {"Pause", {}, 0.0},
        {"Next", {}, 5.0},
        {"Next", {}, 12.0},
        {"Previous", {}, 5.0},
        {"Seek", {qlonglong(2500000)}, 7.5},
        {"SetPosition", {current, qlonglong(9000000)}, 9.0},
        {"SetPosition", {stale, qlonglong(3000000)}, 9.0},
        {"SetPosition", {current, qlonglong(21000000)}, 9.0},
        {"PlayPause", {}, 9.0},
    };
    for (const auto& step : presses) {
        press(step.method, step.arguments);
        EXPECT_NEAR(player().currentTime(), step.position, 0.01)
            << step.method << " " << step.arguments.value(1).toLongLong();
    }
    EXPECT_TRUE(player().isPlaying());
    press("Stop");
    EXPECT_FALSE(player().isPlaying()) << "stop pauses";
}

TEST_F(DesktopPresenceTest, eachChangeIsAnnouncedOnceAndAJumpAsSeeked) {
    present();
    Listener listener;
    for (const auto& [interface, member, slot] :
         {std::tuple{propertiesInterface, "PropertiesChanged",
                     SLOT(propertiesChanged(QString, QVariantMap, QStringList))},
          std::tuple{playerInterface, "Seeked", SLOT(seeked(qlonglong))}})
        ASSERT_TRUE(client.connect(MprisService::serviceName, MprisService::objectPath, interface,
                                   member, &listener, slot));
    // What the listener heard by the time the program answers a call made after the changes.
    const auto heard = [&] {
        QCoreApplication::processEvents();
        property("Position");
        QCoreApplication::processEvents();
        return std::exchange(listener.changed, {});
    };

    controller->transport().playCommand();
    using Heard = std::vector<std::string>;
    EXPECT_EQ(heard(), Heard{"PlaybackStatus"});
    // The track runs out and the next one waits: one announcement, not a pause and a load.
    render(20.5);
    EXPECT_EQ(heard(), Heard{"Metadata PlaybackStatus"});
    controller->transport().volumeUp();
    controller->transport().faster();
    EXPECT_EQ(heard(), Heard{"Rate Volume"});
    player().setCurrentTime(4.0);
    controller->transport().applyRate();
    EXPECT_EQ(heard(), Heard{});
    EXPECT_EQ(listener.seeks, QList<qlonglong>{4000000});
}

TEST_F(DesktopPresenceTest, aNameAlreadyTakenGetsTheInstanceSuffix) {
    QDBusConnection other = bus.connect("other");
    ASSERT_TRUE(other.registerService(MprisService::serviceName));
    present();
    EXPECT_EQ(presence->mpris().registeredName(),
              QString(MprisService::serviceName) + ".instance" +
                  QString::number(QCoreApplication::applicationPid()));
}

TEST_F(DesktopPresenceTest, theScreenIsHeldInDanceModeWhileTheWindowIsShown) {
    present();
    const struct {
        std::function<void()> change;
        bool held;
    } steps[] = {
        {[] {}, false},
        {[this] { view->show(); }, true},
        {[this] { player().setPreviewing(true); }, false},
        {[this] { press("Next"); }, true},
        {[this] { view->hide(); }, false},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(presence->inhibitor().held(), step.held);
    }
}

#include "DesktopPresenceTest.moc"
