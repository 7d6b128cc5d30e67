#include "services/DoNotDisturb.h"

#include "platform/Diagnostics.h"
#include "support/PrivateBus.h"

#include <QDBusContext>
#include <QTest>
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
    PrivateBus bus;
    const auto reaches = [](const DoNotDisturb& doNotDisturb, DoNotDisturb::State state) {
        return QTest::qWaitFor([&] { return doNotDisturb.state() == state; }, 10000);
    };
    DoNotDisturb withoutService(bus.connect("absent"));
    withoutService.turnOn();
    ASSERT_TRUE(reaches(withoutService, DoNotDisturb::State::Unavailable));
    DoNotDisturb noBus(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nobus"));
    noBus.turnOn();
    EXPECT_EQ(noBus.state(), DoNotDisturb::State::Unavailable);

    FakeNotifications notifications;
    QDBusConnection server = bus.connect("service");
    server.registerObject("/org/freedesktop/Notifications", &notifications,
                          QDBusConnection::ExportAllSlots);
    server.registerService("org.freedesktop.Notifications");
    DoNotDisturb doNotDisturb(bus.connect("client"));
    doNotDisturb.turnOn();
    doNotDisturb.turnOn();
    ASSERT_TRUE(reaches(doNotDisturb, DoNotDisturb::State::On));
    doNotDisturb.turnOn();
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications.inhibitCalls, 1);

    notifications.refusal = "not now";
    DoNotDisturb refused(bus.connect("refused"));
    refused.turnOn();
    ASSERT_TRUE(reaches(refused, DoNotDisturb::State::Unavailable));
    refused.turnOn();
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications.inhibitCalls, 2);
    // A missing service or bus is the ordinary case and says nothing.
    EXPECT_EQ(output.lines(), QStringList("Do not disturb not turned on: not now"));
}

#include "DoNotDisturbTest.moc"
