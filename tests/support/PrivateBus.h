#pragma once
// A D-Bus daemon of the test's own, so no test reaches the desktop's services; its connections
// close with it.

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

class PrivateBus {
public:
    PrivateBus() {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        EXPECT_TRUE(daemon.waitForStarted() && daemon.waitForReadyRead(10000));
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : names)
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // A new connection to the bus under `name`.
    QDBusConnection connect(const QString& name) {
        names.append(name);
        return QDBusConnection::connectToBus(address, name);
    }

    QString address;

private:
    QProcess daemon;
    QStringList names;
};
