#include "services/DoNotDisturb.h"

#include "platform/Diagnostics.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

bool meansUnavailable(QDBusError::ErrorType type) {
    switch (type) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::Disconnected:
        return true;
    default:
        return false;
    }
}

} // namespace

DoNotDisturb::DoNotDisturb(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus(bus) {}

void DoNotDisturb::turnOn() {
    if (_state != State::Off)
        return;
    if (!bus.isConnected()) {
        _state = State::Unavailable;
        return;
    }
    _state = State::Requested;
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Inhibit");
    call << QStringLiteral("varlin") << QStringLiteral("A dance is running") << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                handleReply(finished->reply());
                finished->deleteLater();
            });
}

void DoNotDisturb::handleReply(const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ReplyMessage) {
        _state = State::On;
        return;
    }
    _state = State::Unavailable;
    // A desktop without the service is the ordinary case and stays silent; anything else is
    // worth one line, and only one, since no further request is made.
    const QDBusError error(reply);
    if (!meansUnavailable(error.type()))
        printLine("Do not disturb not turned on: " + error.message());
}

void turnOnDoNotDisturb() {
    static DoNotDisturb* doNotDisturb =
        new DoNotDisturb(QDBusConnection::sessionBus(), QCoreApplication::instance());
    doNotDisturb->turnOn();
}
