#include "services/IdleInhibitor.h"

#include "platform/Diagnostics.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <functional>
#include <optional>

namespace {
const QString applicationName = QStringLiteral("Varlin");
const QString reason = QStringLiteral("A dance is running");
// How long the program, ending, waits for a service to take its inhibitor back.
constexpr int endingTimeoutMs = 1000;
} // namespace

// One inhibitor of one service: the request, the token its reply gives (a cookie, a
// descriptor), and how that token is given back.
class IdleInhibitor::Inhibition {
public:
    // Gives the token back; `wait` when the program ends and the call must reach the service.
    using Release = std::function<void(QDBusConnection& bus, const QVariant& token, bool wait)>;

    Inhibition(QString what, const QDBusConnection& bus, const QDBusMessage& request,
               Release release, QObject* context)
        : what(std::move(what)), bus(bus), request(request), release(std::move(release)),
          context(context) {}

    void setWanted(bool want) {
        wanted = want;
        if (unavailable)
            return;
        if (wanted && !token && !watcher)
            ask();
        else if (!wanted && token)
            giveBack();
    }

    // The program ends: a pending request is waited for, so its token is given back too.
    void end() {
        ending = true;
        wanted = false;
        if (watcher)
            watcher->waitForFinished();
        if (token)
            giveBack();
    }

private:
    void ask() {
        if (!bus.isConnected()) {
            fail(bus.lastError().message());
            return;
        }
        watcher = new QDBusPendingCallWatcher(bus.asyncCall(request), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                         [this](QDBusPendingCallWatcher* finished) {
                             watcher = nullptr;
                             finished->deleteLater();
                             received(finished->reply());
                         });
    }

    void received(const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage) {
            fail(QDBusError(reply).message());
            return;
        }
        const QVariant value = reply.arguments().value(0);
        if (!value.isValid()) {
            fail(QStringLiteral("the service answered without a token"));
            return;
        }
        token = value;
        if (!wanted)
            giveBack();
    }

    void giveBack() {
        if (release)
            release(bus, *token, ending);
        token.reset();
    }

    void fail(const QString& why) {
        unavailable = true;
        printLine(what + QStringLiteral(" not inhibited: ") +
                  (why.isEmpty() ? QStringLiteral("no bus") : why));
    }

    QString what;
    QDBusConnection bus;
    QDBusMessage request;
    Release release;
    QObject* context;
    QDBusPendingCallWatcher* watcher = nullptr;
    std::optional<QVariant> token;
    bool wanted = false;
    bool unavailable = false;
    bool ending = false;
};

namespace {

QDBusMessage screenSaverCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

IdleInhibitor::IdleInhibitor(const QDBusConnection& sessionBus, const QDBusConnection& systemBus,
                             QObject* parent)
    : QObject(parent) {
    QDBusMessage inhibit = screenSaverCall(QStringLiteral("Inhibit"));
    inhibit << applicationName << reason;
    screenSaver = std::make_unique<Inhibition>(
        QStringLiteral("Screen saver"), sessionBus, inhibit,
        [](QDBusConnection& bus, const QVariant& cookie, bool wait) {
            QDBusMessage unInhibit = screenSaverCall(QStringLiteral("UnInhibit"));
            unInhibit << cookie.toUInt();
            if (wait)
                bus.call(unInhibit, QDBus::Block, endingTimeoutMs);
            else
                bus.send(unInhibit);
        },
        this);

    QDBusMessage block = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    block << QStringLiteral("idle:sleep") << applicationName << reason << QStringLiteral("block");
    // logind holds the block while the descriptor it returned stays open: dropping the token
    // closes it.
    sleep = std::make_unique<Inhibition>(QStringLiteral("Sleep"), systemBus, block,
                                         Inhibition::Release(), this);
}

IdleInhibitor::~IdleInhibitor() {
    screenSaver->end();
    sleep->end();
}

void IdleInhibitor::setHeld(bool held) {
    wanted = held;
    screenSaver->setWanted(held);
    sleep->setWanted(held);
}
