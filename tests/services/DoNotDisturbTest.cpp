#include "services/DoNotDisturb.h"

#include "platform/Diagnostics.h"
#include "support/PrivateBus.h"

#include <QDBusContext>
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
    DiagnosticCapture output;
    {
        PrivateBus bus;
        DoNotDisturb withoutService(bus.connect("absent"));
        withoutService.turnOn();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return withoutService.state() == DoNotDisturb::State::Unavailable; }, 10000));

        FakeNotifications notifications;
        QDBusConnection server = bus.connect("service");
        server.registerObject("/org/freedesktop/Notifications", &notifications,
                              QDBusConnection::ExportAllSlots);
        server.registerService("org.freedesktop.Notifications");
        DoNotDisturb doNotDisturb(bus.connect("client"));
        doNotDisturb.turnOn();
        doNotDisturb.turnOn();
        ASSERT_TRUE(QTest::qWaitFor([&] { return doNotDisturb.state() == DoNotDisturb::State::On; },
                                    10000));
        doNotDisturb.turnOn();
        QCoreApplication::processEvents();
        EXPECT_EQ(notifications.inhibitCalls, 1);
        EXPECT_TRUE(output.lines().isEmpty());

        notifications.refusal = "not now";
        DoNotDisturb refused(bus.connect("refused"));
        refused.turnOn();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return refused.state() == DoNotDisturb::State::Unavailable; }, 10000));
        refused.turnOn();
        QCoreApplication::processEvents();
        EXPECT_EQ(notifications.inhibitCalls, 2);
    }

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
