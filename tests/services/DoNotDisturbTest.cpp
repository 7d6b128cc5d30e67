#include "services/DoNotDisturb.h"

#include "platform/Diagnostics.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A D-Bus daemon of the test's own, so no test reaches the desktop's notification server.
class PrivateBus {
public:
    PrivateBus() {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon.waitForStarted() && daemon.waitForReadyRead(10000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names)
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished();
    }

    QDBusConnection connect(const QString& name) {
        names << name;
        return QDBusConnection::connectToBus(address, name);
    }

    QString address;

private:
    QProcess daemon;
    QStringList names;
};

class FakeNotifications : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    int inhibitCalls = 0;
    QString refusal;

public slots:
    uint Inhibit(const QString& desktopEntry, const QString&, const QVariantMap&) {
        ++inhibitCalls;
        EXPECT_EQ(desktopEntry, "varlin");
        if (!refusal.isEmpty())
            sendErrorReply(QDBusError::AccessDenied, refusal);
        return 42;
    }
};

struct Server {
    explicit Server(PrivateBus& bus) : connection(bus.connect("service")) {
        connection.registerObject("/org/freedesktop/Notifications", &notifications,
                                  QDBusConnection::ExportAllSlots);
        connection.registerService("org.freedesktop.Notifications");
    }
    FakeNotifications notifications;
    QDBusConnection connection;
};

} // namespace

TEST(DoNotDisturb, InhibitsOnceAndReportsARefusalOnlyOnce) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    Server server(bus);
    DiagnosticCapture output;
    DoNotDisturb doNotDisturb(bus.connect("client"));
    doNotDisturb.turnOn();
    doNotDisturb.turnOn();
    QTRY_VERIFY_WITH_TIMEOUT(doNotDisturb.state() == DoNotDisturb::State::On, 10000);
    doNotDisturb.turnOn();
    QCoreApplication::processEvents();
    EXPECT_EQ(server.notifications.inhibitCalls, 1);
    EXPECT_TRUE(output.lines().isEmpty());

    server.notifications.refusal = "not now";
    DoNotDisturb refused(bus.connect("refused"));
    refused.turnOn();
    QTRY_VERIFY_WITH_TIMEOUT(refused.state() == DoNotDisturb::State::Unavailable, 10000);
    refused.turnOn();
    QCoreApplication::processEvents();
    EXPECT_EQ(server.notifications.inhibitCalls, 2);
    EXPECT_EQ(output.lines(), QStringList("Do not disturb not turned on: not now"));
}

TEST(DoNotDisturb, WithoutTheServiceOrABusNothingIsPrinted) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    DiagnosticCapture output;
    DoNotDisturb doNotDisturb(bus.connect("client"));
    doNotDisturb.turnOn();
    QTRY_VERIFY_WITH_TIMEOUT(doNotDisturb.state() == DoNotDisturb::State::Unavailable, 10000);
    doNotDisturb.turnOn();

    DoNotDisturb noBus(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nobus"));
    noBus.turnOn();
    EXPECT_EQ(noBus.state(), DoNotDisturb::State::Unavailable);

    // The session-wide switch, without a session bus.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    turnOnDoNotDisturb();
    turnOnDoNotDisturb();
    QCoreApplication::processEvents();
    EXPECT_TRUE(output.lines().isEmpty());
}

#include "DoNotDisturbTest.moc"
