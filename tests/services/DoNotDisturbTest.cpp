#include "services/DoNotDisturb.h"

#include "platform/Diagnostics.h"

#include <QDBusContext>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

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

} // namespace

// On a D-Bus daemon of the test's own, so no test reaches the desktop's notification server.
TEST(DoNotDisturb, InhibitsOnceAndReportsOnlyARefusalOnce) {
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.waitForStarted() && daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    DiagnosticCapture output;
    {
        DoNotDisturb withoutService(QDBusConnection::connectToBus(address, "absent"));
        withoutService.turnOn();
        QTRY_VERIFY_WITH_TIMEOUT(withoutService.state() == DoNotDisturb::State::Unavailable, 10000);

        FakeNotifications notifications;
        QDBusConnection server = QDBusConnection::connectToBus(address, "service");
        server.registerObject("/org/freedesktop/Notifications", &notifications,
                              QDBusConnection::ExportAllSlots);
        server.registerService("org.freedesktop.Notifications");
        DoNotDisturb doNotDisturb(QDBusConnection::connectToBus(address, "client"));
        doNotDisturb.turnOn();
        doNotDisturb.turnOn();
        QTRY_VERIFY_WITH_TIMEOUT(doNotDisturb.state() == DoNotDisturb::State::On, 10000);
        doNotDisturb.turnOn();
        QCoreApplication::processEvents();
        EXPECT_EQ(notifications.inhibitCalls, 1);
        EXPECT_TRUE(output.lines().isEmpty());

        notifications.refusal = "not now";
        DoNotDisturb refused(QDBusConnection::connectToBus(address, "refused"));
        refused.turnOn();
        QTRY_VERIFY_WITH_TIMEOUT(refused.state() == DoNotDisturb::State::Unavailable, 10000);
        refused.turnOn();
        QCoreApplication::processEvents();
        EXPECT_EQ(notifications.inhibitCalls, 2);
    }
    for (const char* name : {"absent", "service", "client", "refused"})
        QDBusConnection::disconnectFromBus(name);
    daemon.kill();
    daemon.waitForFinished();

    // Without a bus nothing is printed, also from the session-wide switch.
    DoNotDisturb noBus(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nobus"));
    noBus.turnOn();
    EXPECT_EQ(noBus.state(), DoNotDisturb::State::Unavailable);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    turnOnDoNotDisturb();
    turnOnDoNotDisturb();
    QCoreApplication::processEvents();
    EXPECT_EQ(output.lines(), QStringList("Do not disturb not turned on: not now"));
}

#include "DoNotDisturbTest.moc"
