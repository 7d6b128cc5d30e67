#include "playback/Player.h"

#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"
#include "playback/PlayerDelegate.h"

#include <algorithm>
#include <cmath>

Player::Player(std::function<void(const QString&)> log) : log(std::move(log)) {}

Player::~Player() = default;

void Player::setEntry(const std::shared_ptr<PlaylistEntry>& entry) {
    if (avplayer)
        avplayer->stop();
    setIsPlaying(false);
    _entry = nullptr;
    const float carriedRate = avplayer ? avplayer->rate() : 1.0f;
    if (!entry)
        return;
    avplayer = makeAudioPlayer(entry);
    if (!avplayer) {
        // One retry, when the bookmark knows another place for the file; the same path would
        // only fail again.
        const QUrl tried = entry->_url;
        if (!entry->resolveBookmark() || entry->_url == tried)
            return;
        avplayer = makeAudioPlayer(entry);
        if (!avplayer)
            return;
    }
    _entry = entry;
    avplayer->setRate(carriedRate);
}

std::shared_ptr<AudioFilePlayer>
Player::makeAudioPlayer(const std::shared_ptr<PlaylistEntry>& entry) {
    QString error;
    auto player = AudioFilePlayer::create(entry->_url, &error);
    if (!player) {
        entry->playProblem = error;
        printLine(error);
        if (log) {
            log(error);
            log(QStringLiteral("   url: ") + entry->_url.toString());
        }
        return nullptr;
    }
    entry->playProblem.reset();
    player->prepareToPlay();
    entry->storedBookmark = PlaylistEntry::bookmarkFor(entry->_url);
    player->setEnableRate(true);
    QObject::connect(player.get(), &AudioFilePlayer::finishedPlaying, player.get(),
                     [this] { audioPlayerDidFinishPlaying(); });
    player->setVolume(1.0f);
    desiredTime = 0;
    return player;
}

void Player::setPreviewing(bool previewing) {
    _previewing = previewing;
    if (delegate)
        delegate->playerPreviewingChanged();
}

double Player::currentTime() const {
    if (!suspended && avplayer && _isPlaying)
        return avplayer->currentTime();
    return desiredTime;
}

void Player::setCurrentTime(double seconds) {
    suspend();
    // A non-finite request (a broken slider value) lands at the start rather than poisoning
    // the position; a file shorter than 0.1 s clamps to 0, not below it.
    const double wanted = std::isfinite(seconds) ? std::max(seconds, 0.0) : 0.0;
    const double last = avplayer ? std::max(duration() - 0.1, 0.0) : 9.9;
    desiredTime = std::min(wanted, last);
    if (delegate)
        delegate->playerTimeChanged();
    if (suspended) {
        suspended = false;
        if (_isPlaying)
            resume();
    }
}

double Player::duration() const {
    return avplayer ? avplayer->duration() : 10.0;
}

void Player::setIsPlaying(bool playing) {
    _isPlaying = playing;
    if (!delegate)
        return;
    if (playing)
        delegate->playerStarted();
    else
        delegate->playerStopped();
}

void Player::play() {
    if (suspended) {
        setIsPlaying(true);
        return;
    }
    resume();
}

void Player::resume() {
    if (!avplayer || avplayer->isPlaying())
        return;
    avplayer->setCurrentTime(desiredTime);
    if (!_previewing && _entry)
        _entry->beginPlayedRange(desiredTime);
    avplayer->prepareToPlay();
    avplayer->play();
    setIsPlaying(true);
}

void Player::pause() {
    if (!suspended && _isPlaying && avplayer) {
        avplayer->stop();
        desiredTime = avplayer->currentTime();
        recordPlayedRange();
    }
    setIsPlaying(false);
}

void Player::suspend() {
    if (suspended)
        return;
    if (_isPlaying && avplayer) {
        avplayer->stop();
        desiredTime = avplayer->currentTime();
        recordPlayedRange();
    }
    suspended = true;
}

void Player::recordPlayedRange() {
    if (_previewing || !_entry)
        return;
    const double t = avplayer ? avplayer->currentTime() : 0.0;
    if (_entry->cachedTimeRangeIndex && _entry->currentTimeRangeSet &&
        _entry->currentTimeRangeSet->extendRange(*_entry->cachedTimeRangeIndex, t))
        return;
    _entry->beginPlayedRange(t);
}

void Player::skipToEndIfWithin(double seconds) {
    if (_isPlaying && duration() - currentTime() < seconds)
        setCurrentTime(duration());
}

void Player::setVolume(float volume) {
    _volume = volume;
    if (avplayer)
        avplayer->setVolume(std::clamp(volume, 0.0f, 1.0f));
}

float Player::rate() const {
    return avplayer ? avplayer->rate() : 1.0f;
}

void Player::setRate(float rate) {
    if (avplayer)
        avplayer->setRate(rate);
}

void Player::audioPlayerDidFinishPlaying() {
    if (!delegate)
        return;
    delegate->playerStopped();
    delegate->playerDidFinish();
}
