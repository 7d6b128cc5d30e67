#include "playback/SoundEffect.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"

#include <QFile>
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

SoundEffect::SoundEffect(const QString& name, std::function<float()> attenuation)
    : attenuation(std::move(attenuation)) {
    registerSounds();
    QFile resource(":/" + name);
    file.reset(QTemporaryFile::createNativeFile(resource));
    if (!file) {
        printLine("Can't open sound " + name + ": " + resource.errorString());
        return;
    }
    QString error;
    _avplayer = AudioFilePlayer::create(QUrl::fromLocalFile(file->fileName()), &error);
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
