#include "playback/Scrubber.h"

#include "platform/audio/AudioFilePlayer.h"
#include "playback/Player.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

Scrubber::Scrubber(Player* manager, const std::optional<QUrl>& url, Scheduler schedule)
    : manager(manager), schedule(std::move(schedule)) {
    if (url)
        avPlayer = AudioFilePlayer::create(*url);
    if (!this->schedule)
        this->schedule = [](double seconds, std::function<void()> step) {
            QTimer::singleShot(int(std::lround(seconds * 1000)), std::move(step));
        };
}

Scrubber::~Scrubber() = default;

void Scrubber::setScrubbing(bool scrubbing) {
    _scrubbing = scrubbing;
    scrubStep();
}

void Scrubber::scrubStep() {
    if (!_scrubbing || scrubPlaying || !manager)
        return;
    const double t = manager->currentTime();
    if (!avPlayer)
        return;
    avPlayer->setCurrentTime(t);
    avPlayer->setVolume(std::clamp(manager->volume() * 0.5f, 0.0f, 1.0f));
    avPlayer->setEnableRate(true);
    avPlayer->setRate(1.5f);
    avPlayer->play();
    scrubPlaying = true;
    schedule(snipTime, [this, alive = std::weak_ptr<int>(alive)] {
        if (alive.lock())
            snippetEnded();
    });
}

void Scrubber::snippetEnded() {
    if (avPlayer)
        avPlayer->pause();
    scrubPlaying = false;
    scrubStep();
}
