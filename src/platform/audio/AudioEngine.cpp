#include "platform/audio/AudioEngine.h"

#include "platform/audio/AudioVoice.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "platform/audio/SdlAudioOutput.h"
#include "platform/audio/VoiceMixer.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
// How far ahead of the callback the feeder keeps each ring: enough to ride out a busy moment,
// short enough that a rate change is heard within 100 ms (ring + device buffer + feeder tick).
constexpr double aheadSeconds = 0.06;
// A third of that: the ring never holds less than 40 ms when the feeder comes round, and the
// feeder wakes 50 times a second rather than 200 (each wakeup costs more than the work it does).
constexpr auto feederTick = std::chrono::milliseconds(20);
// Filled by start() itself before the voice joins the mix (two device buffers and a little);
// the feeder tops the ring up from there, so the first sound does not wait for a full ring.
constexpr int primeBlocks = 5;
constexpr auto maintainEvery = std::chrono::milliseconds(250);
// Silence this long closes the device (it reopens in a couple of milliseconds): a break between
// tracks, not the pause before a scrub snippet or the next press of play.
constexpr auto releaseAfter = std::chrono::seconds(5);
} // namespace

AudioEngine& AudioEngine::instance() {
    static AudioEngine engine;
    return engine;
}

AudioEngine::AudioEngine() = default;

AudioEngine::~AudioEngine() {
    stopFeeder();
    _output.reset();
}

AudioOutput& AudioEngine::output() {
    if (!_output)
        openDevice();
    return *_output;
}

void AudioEngine::openDevice() {
    mixer = std::make_unique<VoiceMixer>(2);
    _output = std::make_unique<SdlAudioOutput>(
        [mixer = mixer.get()](float* out, int frames, int64_t firstFrame) {
            mixer->render(out, frames, firstFrame);
        });
    feederStop = false;
    feeder = std::thread([this] { feederLoop(); });
}

OfflineAudioOutput& AudioEngine::useOfflineOutput(AudioFormat format) {
    stopFeeder();
    _output.reset();
    outputReleased = false;
    mixer = std::make_unique<VoiceMixer>(format.channels);
    auto offline = std::make_unique<OfflineAudioOutput>(
        format, [this](float* out, int frames, int64_t firstFrame) {
            feedAll();
            mixer->render(out, frames, firstFrame);
            announceEnds(double(firstFrame + frames));
        });
    OfflineAudioOutput& result = *offline;
    _output = std::move(offline);
    return result;
}

void AudioEngine::stopFeeder() {
    if (!feeder.joinable())
        return;
    {
        std::lock_guard lock(feederLock);
        feederStop = true;
    }
    feederWake.notify_all();
    feeder.join();
}

void AudioEngine::add(const std::shared_ptr<AudioVoice>& voice) {
    std::lock_guard lock(voicesLock);
    voices.push_back(voice);
}

void AudioEngine::remove(const std::shared_ptr<AudioVoice>& voice) {
    stop(*voice);
    voice->onEvents = nullptr;
    std::lock_guard lock(voicesLock);
    std::erase(voices, voice);
}

std::vector<std::shared_ptr<AudioVoice>> AudioEngine::voicesSnapshot() {
    std::lock_guard lock(voicesLock);
    return voices;
}

int AudioEngine::targetBlocks() const {
    return int(
        std::ceil(aheadSeconds * _output->format().sampleRate / AudioBlockRing::blockFrames));
}

bool AudioEngine::start(AudioVoice& voice, int64_t frame, double rate) {
    const AudioFormat format = output().format();
    mixer->leave(&voice);
    {
        std::lock_guard lock(voice.feedLock);
        voice.start(frame, rate, format, primeBlocks);
    }
    bool joined = false;
    {
        // The feeder releases the device under the same lock, and only with no voice mixed.
        std::lock_guard lock(outputLock);
        if (outputReleased) {
            _output->acquire();
            outputReleased = false;
        }
        joined = mixer->join(&voice);
    }
    if (!joined) {
        stop(voice);
        return false;
    }
    {
        // Under the lock, so a feeder about to idle cannot miss it.
        std::lock_guard lock(feederLock);
        feederKicked = true;
    }
    feederWake.notify_one();
    return true;
}

void AudioEngine::stop(AudioVoice& voice) {
    if (mixer)
        mixer->leave(&voice);
    std::lock_guard lock(voice.feedLock);
    voice.halt();
}

double AudioEngine::heardSourceFrame(const AudioVoice& voice) const {
    return voice.heardSourceFrame(_output ? _output->heardFrame() : 0.0);
}

bool AudioEngine::feedAll() {
    const int target = targetBlocks();
    bool sounding = false;
    for (const auto& voice : voicesSnapshot()) {
        std::lock_guard lock(voice->feedLock);
        sounding = voice->feed(target) || sounding;
    }
    return sounding;
}

void AudioEngine::feederLoop() {
    using std::chrono::steady_clock;
    auto lastMaintain = steady_clock::now();
    auto lastSounding = lastMaintain;
    bool sounding = false;
    bool released = false;
    std::unique_lock lock(feederLock);
    while (!feederStop) {
        // Idle, it only looks after the device now and then, and not at all once the device is
        // closed; start() wakes it.
        const auto woken = [this] { return feederStop || feederKicked; };
        if (released)
            feederWake.wait(lock, woken);
        else
            feederWake.wait_for(lock, sounding ? feederTick : maintainEvery, woken);
        if (feederStop)
            break;
        feederKicked = false;
        lock.unlock();
        sounding = feedAll();
        announceEnds(_output->heardFrame());
        const auto now = steady_clock::now();
        if (sounding) {
            lastSounding = now;
            released = false;
        } else if (!released && now - lastSounding > releaseAfter) {
            released = releaseIdleOutput();
        }
        if (!released && now - lastMaintain > maintainEvery) {
            _output->maintain();
            lastMaintain = now;
        }
        lock.lock();
    }
}

bool AudioEngine::releaseIdleOutput() {
    std::lock_guard lock(outputLock);
    if (!outputReleased && mixer->empty()) {
        _output->release();
        outputReleased = true;
    }
    return outputReleased;
}

// A voice's end is news once its last sample has been heard, not merely mixed.
void AudioEngine::announceEnds(double heardFrame) {
    bool news = false;
    for (const auto& voice : voicesSnapshot()) {
        std::lock_guard lock(voice->feedLock);
        const auto drained = voice->drainedAt();
        if (drained && !voice->endAnnounced && heardFrame >= double(*drained)) {
            voice->endAnnounced = true;
            voice->finishedPending.store(true);
        }
        news = news || voice->finishedPending.load() || voice->decodeErrorPending.load();
    }
    if (news && !deliveryQueued.exchange(true))
        QMetaObject::invokeMethod(
            &mainThread,
            [this] {
                deliveryQueued.store(false);
                deliverEvents();
            },
            Qt::QueuedConnection);
}

void AudioEngine::deliverEvents() {
    for (const auto& voice : voicesSnapshot()) {
        // A copy: the handler may destroy its player, which clears voice->onEvents.
        const auto handler = voice->onEvents;
        if ((voice->finishedPending.load() || voice->decodeErrorPending.load()) && handler)
            handler();
    }
}
