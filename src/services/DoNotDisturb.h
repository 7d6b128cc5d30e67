#pragma once
// Asks the desktop to hold back notifications while a dance runs. Best effort over D-Bus: where
// the notification server offers org.freedesktop.Notifications.Inhibit the program takes one
// inhibition, which the server releases when the program's bus connection closes. Without a
// session bus or without that service nothing happens.

#include <QDBusConnection>
#include <QObject>

class DoNotDisturb : public QObject {
    Q_OBJECT
public:
    explicit DoNotDisturb(const QDBusConnection& bus, QObject* parent = nullptr);

    // Never blocks: the request is asynchronous, and once one has been sent (or found impossible)
    // further calls do nothing.
    void turnOn();

    bool isOn() const { return inhibited; }

private:
    void handleReply(const QDBusMessage& reply);

    QDBusConnection bus;
    bool requested = false;
    bool inhibited = false;
};

// The play command's switch, on the session bus.
void turnOnDoNotDisturb();
