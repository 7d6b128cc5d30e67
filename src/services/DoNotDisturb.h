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
    enum class State { Off, Requested, On, Unavailable };

    explicit DoNotDisturb(const QDBusConnection& bus, QObject* parent = nullptr);

    // Never blocks: the request is asynchronous, and once one has been sent (or found impossible)
    // further calls do nothing.
    void turnOn();

    State state() const { return _state; }

private:
    void handleReply(const QDBusMessage& reply);

    QDBusConnection bus;
    State _state = State::Off;
};

// The play command's switch, on the session bus.
void turnOnDoNotDisturb();
