#include "playback/SoundEffect.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cmath>

// Outside any namespace, as Q_INIT_RESOURCE requires. The bell lives in this static library,
// whose resource registration a linker may otherwise leave out.
static void registerSounds() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(bell);
        return true;
    }();
    (void)registered;
}

namespace {
// The decoders read files, so a resource sound is played from one copy in the cache folder,
// written again only when the program carries a different sound (no stray temporary copies).
std::optional<QString> cachedCopy(const QString& name, QString* error) {
    QFile resource(":/" + name);
    if (!resource.open(QIODevice::ReadOnly)) {
        *error = resource.errorString();
        return std::nullopt;
    }
    const QByteArray sound = resource.readAll();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/net.brenmoor.varlin");
    const QString path = folder + QLatin1Char('/') + name;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == sound.size() &&
        existing.readAll() == sound)
        return path;
    QDir().mkpath(folder);
    QSaveFile copy(path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(sound) != sound.size() || !copy.commit()) {
        *error = copy.errorString();
        return std::nullopt;
    }
    return path;
}
} // namespace

SoundEffect::SoundEffect(const QString& name, std::function<float()> attenuation)
    : attenuation(std::move(attenuation)) {
    registerSounds();
    QString error;
    const std::optional<QString> path = cachedCopy(name, &error);
    if (path)
        _avplayer = AudioFilePlayer::create(QUrl::fromLocalFile(*path), &error);
    if (!_avplayer)
        printLine("Can't open sound " + name + ": " + error);
}

SoundEffect::~SoundEffect() = default;

float SoundEffect::volumeFor(float attenuation) {
    const float a = std::isnan(attenuation) ? 0.0f : std::clamp(attenuation, 0.0f, 1.0f);
    return std::pow(10.0f, -2.0f * a);
}

void SoundEffect::play() {
    if (!_avplayer)
        return;
    _avplayer->stop();
    _avplayer->setVolume(volumeFor(attenuation()));
    _avplayer->setCurrentTime(0);
    _avplayer->prepareToPlay();
    _avplayer->play();
}
