#include "platform/audio/AudioFilePlayer.h"

#include "platform/audio/AudioDecoder.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/AudioVoice.h"

#include <algorithm>
#include <cmath>

std::shared_ptr<AudioFilePlayer> AudioFilePlayer::create(const QUrl& url, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = openFailure(url, reason);
        return nullptr;
    };
    if (!url.isLocalFile())
        return fail(QStringLiteral("not a local file"));
    QString reason;
    auto decoder = AudioDecoder::open(url.toLocalFile(), &reason);
    if (!decoder)
        return fail(reason);
    if (decoder->frameCount() <= 0)
        return fail(QStringLiteral("it holds no audio"));
    auto voice = std::make_shared<AudioVoice>(std::move(decoder));
    std::shared_ptr<AudioFilePlayer> player(new AudioFilePlayer(url, voice));
    AudioEngine::instance().add(voice);
    return player;
}

QString AudioFilePlayer::openFailure(const QUrl& url, const QString& reason) {
    const QString name = url.isLocalFile() ? url.fileName() : url.toString();
    return QStringLiteral("The file \u201c%1\u201d couldn\u2019t be opened: %2").arg(name, reason);
}

AudioFilePlayer::AudioFilePlayer(const QUrl& url, std::shared_ptr<AudioVoice> voice)
    : _url(url), voice(std::move(voice)) {
    this->voice->onEvents = [this] { handleEvents(); };
}

AudioFilePlayer::~AudioFilePlayer() {
    AudioEngine::instance().remove(voice);
}

bool AudioFilePlayer::play() {
    if (playing)
        return true;
    // The sample whose span holds the position; the nudge keeps a whole frame that arrives as
    // 12.999999... from being taken for the one before.
    const auto frame = int64_t(std::floor(stoppedTime * voice->sourceRate() + 1e-6));
    decodeFailed = false;
    playing = AudioEngine::instance().start(*voice, frame, effectiveRate());
    return playing;
}

void AudioFilePlayer::stop() {
    if (!playing)
        return;
    stoppedTime = currentTime();
    AudioEngine::instance().stop(*voice);
    playing = false;
}

void AudioFilePlayer::pause() {
    stop();
}

double AudioFilePlayer::currentTime() const {
    if (!playing)
        return stoppedTime;
    return AudioEngine::instance().heardSourceFrame(*voice) / voice->sourceRate();
}

void AudioFilePlayer::setCurrentTime(double seconds) {
    const double time = std::clamp(std::isfinite(seconds) ? seconds : 0.0, 0.0, duration());
    if (!playing) {
        stoppedTime = time;
        return;
    }
    stop();
    stoppedTime = time;
    play();
}

double AudioFilePlayer::duration() const {
    return double(voice->frameCount()) / voice->sourceRate();
}

void AudioFilePlayer::setEnableRate(bool enabled) {
    rateEnabled = enabled;
    std::lock_guard lock(voice->feedLock);
    voice->setRate(effectiveRate());
}

void AudioFilePlayer::setRate(float rate) {
    _rate = std::clamp(std::isfinite(rate) ? rate : 1.0f, 0.5f, 2.0f);
    std::lock_guard lock(voice->feedLock);
    voice->setRate(effectiveRate());
}

double AudioFilePlayer::effectiveRate() const {
    return rateEnabled ? double(_rate) : 1.0;
}

void AudioFilePlayer::setVolume(float volume) {
    _volume = std::clamp(std::isfinite(volume) ? volume : 0.0f, 0.0f, 1.0f);
    voice->volume.store(_volume);
}

void AudioFilePlayer::handleEvents() {
    const bool decodeError = voice->decodeErrorPending.exchange(false);
    const bool finished = voice->finishedPending.exchange(false);
    decodeFailed = decodeFailed || decodeError;
    if (decodeError)
        emit decodeErrorOccurred(
            QStringLiteral("The file \u201c%1\u201d could not be decoded to its end.")
                .arg(_url.fileName()));
    if (finished && playing) {
        stoppedTime = currentTime();
        AudioEngine::instance().stop(*voice);
        playing = false;
        emit finishedPlaying(!decodeFailed);
    }
}
