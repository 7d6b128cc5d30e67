#include "control/MprisAdaptors.h"

#include "control/MediaCommands.h"
#include "control/MprisHost.h"
#include "control/MprisService.h"

#include <QUrl>

namespace {
constexpr double microseconds = 1e6;
} // namespace

MprisRootAdaptor::MprisRootAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service(service) {}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return MprisService::supportedMimeTypes();
}

void MprisRootAdaptor::Raise() {
    service.host().raise();
}

void MprisRootAdaptor::Quit() {
    service.host().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return service.playbackStatus();
}

double MprisPlayerAdaptor::rate() const {
    return service.rate();
}

void MprisPlayerAdaptor::setRate(double rate) {
    // Zero would mean paused; the transport has no such rate.
    if (rate > 0)
        service.commands().setRate(rate);
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return service.metadata();
}

double MprisPlayerAdaptor::volume() const {
    return service.volume();
}

void MprisPlayerAdaptor::setVolume(double volume) {
    service.commands().setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const {
    return service.position();
}

double MprisPlayerAdaptor::minimumRate() const {
    return MprisService::minimumRate();
}

double MprisPlayerAdaptor::maximumRate() const {
    return MprisService::maximumRate();
}

bool MprisPlayerAdaptor::hasTrack() const {
    return service.hasTrack();
}

void MprisPlayerAdaptor::Next() {
    service.commands().next();
}

void MprisPlayerAdaptor::Previous() {
    service.commands().previous();
}

void MprisPlayerAdaptor::Pause() {
    service.commands().pause();
}

void MprisPlayerAdaptor::PlayPause() {
    service.commands().playPause();
}

void MprisPlayerAdaptor::Stop() {
    service.commands().pause();
}

void MprisPlayerAdaptor::Play() {
    service.commands().play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    service.commands().seekBy(double(Offset) / microseconds);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    if (!service.hasTrack() || TrackId != service.currentTrackId() || Position < 0 ||
        Position > service.length())
        return;
    service.commands().seekTo(double(Position) / microseconds);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri) {
    const QUrl url(Uri);
    if (!url.isLocalFile()) {
        sendErrorReply(QDBusError::NotSupported, QStringLiteral("Varlin opens files only: ") + Uri);
        return;
    }
    service.host().openFile(url);
}
