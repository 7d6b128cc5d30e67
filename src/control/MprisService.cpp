#include "control/MprisService.h"

#include "BuildInfo.h"
#include "control/MprisAdaptors.h"
#include "control/MprisHost.h"
#include "control/TransportHost.h"
#include "control/TransportPanel.h"
#include "control/TransportViewController.h"
#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"
#include "playback/Player.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusError>
#include <QDBusMessage>
#include <cmath>
#include <utility>

namespace {
qlonglong microseconds(double seconds) {
    return std::llround(seconds * 1e6);
}
} // namespace

MprisService::MprisService(Player& player, TransportViewController& transport,
                           TransportHost& transportHost, MediaCommands& commands, MprisHost& host,
                           QObject* parent)
    : QObject(parent), player(player), transport(transport), transportHost(transportHost),
      _commands(commands), _host(host), playerAdaptor(new MprisPlayerAdaptor(*this)) {
    new MprisRootAdaptor(*this);
    announceTimer.setSingleShot(true);
    announceTimer.setInterval(0);
    connect(&announceTimer, &QTimer::timeout, this, &MprisService::announce);
}

MprisService::~MprisService() {
    if (!bus)
        return;
    bus->unregisterObject(objectPath);
    bus->unregisterService(_registeredName);
}

bool MprisService::registerOn(const QDBusConnection& connection) {
    if (!connection.isConnected()) {
        printLine(QStringLiteral("No session bus: the desktop's media controls do not see Varlin"));
        return false;
    }
    QDBusConnection candidate = connection;
    if (!candidate.registerObject(objectPath, this)) {
        printLine(QStringLiteral("Media controls not offered: ") + candidate.lastError().message());
        return false;
    }
    const QString instanceName = QString::fromLatin1(serviceName) + QStringLiteral(".instance") +
                                 QString::number(QCoreApplication::applicationPid());
    for (const QString& name : {QString::fromLatin1(serviceName), instanceName}) {
        if (candidate.registerService(name)) {
            bus = candidate;
            _registeredName = name;
            announced = announcedProperties();
            return true;
        }
    }
    printLine(QStringLiteral("Media controls not offered: ") + candidate.lastError().message());
    candidate.unregisterObject(objectPath);
    return false;
}

void MprisService::stateMayHaveChanged() {
    if (bus)
        announceTimer.start();
}

void MprisService::positionJumped() {
    jumped = true;
    stateMayHaveChanged();
}

void MprisService::announce() {
    const QVariantMap now = announcedProperties();
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    announced = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << QString::fromLatin1(playerInterface) << changed << QStringList();
        bus->send(signal);
    }
    if (std::exchange(jumped, false))
        emit playerAdaptor->Seeked(position());
}

QVariantMap MprisService::announcedProperties() const {
    const bool track = hasTrack();
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Rate"), rate()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanPlay"), track},
            {QStringLiteral("CanPause"), track},
            {QStringLiteral("CanSeek"), track},
            {QStringLiteral("CanGoNext"), track},
            {QStringLiteral("CanGoPrevious"), track}};
}

QString MprisService::playbackStatus() const {
    if (player.isPlaying())
        return QStringLiteral("Playing");
    return hasTrack() ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

QVariantMap MprisService::metadata() const {
    QVariantMap data{{QStringLiteral("mpris:trackid"), QVariant::fromValue(currentTrackId())}};
    const std::shared_ptr<PlaylistEntry>& entry = player.entry();
    if (!entry)
        return data;
    data.insert(QStringLiteral("mpris:length"), length());
    data.insert(QStringLiteral("xesam:title"), _host.title(*entry));
    data.insert(QStringLiteral("xesam:url"), entry->url().toString(QUrl::FullyEncoded));
    const QString session = _host.sessionName();
    if (!session.isEmpty())
        data.insert(QStringLiteral("xesam:album"), session);
    return data;
}

qlonglong MprisService::position() const {
    return microseconds(player.currentTime());
}

qlonglong MprisService::length() const {
    return hasTrack() ? microseconds(player.duration()) : 0;
}

double MprisService::rate() const {
    return transport.rate();
}

double MprisService::minimumRate() {
    return double(TransportPanel::minimumRate) / TransportPanel::normalRate;
}

double MprisService::maximumRate() {
    return double(TransportPanel::maximumRate) / TransportPanel::normalRate;
}

double MprisService::volume() const {
    return transportHost.volume();
}

bool MprisService::hasTrack() const {
    return player.entry() != nullptr;
}

QDBusObjectPath MprisService::currentTrackId() const {
    return trackId(player.entry().get());
}

QDBusObjectPath MprisService::trackId(const PlaylistEntry* entry) {
    if (!entry)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    const QByteArray digest =
        QCryptographicHash::hash(entry->_url.toEncoded(), QCryptographicHash::Md5).toHex();
    return QDBusObjectPath(QStringLiteral("/net/brenmoor/varlin/track/") +
                           QString::fromLatin1(digest));
}

QStringList MprisService::supportedMimeTypes() {
    QStringList types;
    for (const QString& type :
         QString::fromLatin1(VARLIN_DESKTOP_MIME_TYPES).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (type.startsWith(QLatin1String("audio/")))
            types.append(type);
    return types;
}
