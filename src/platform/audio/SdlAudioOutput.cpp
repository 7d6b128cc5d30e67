#include "platform/audio/SdlAudioOutput.h"

#include "platform/Diagnostics.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
// Tried again while playing silently: the sound servers, which fail at once and quietly when
// they are not there (ALSA would print a screenful to standard error at every try).
constexpr const char* soundServers = "pipewire,pulseaudio";
constexpr auto retryEvery = std::chrono::seconds(2);

double steadyNanoseconds() {
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}
} // namespace

SdlAudioOutput::SdlAudioOutput(Source source) : source(std::move(source)) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (startDriver(nullptr))
        return;
    printLine(QStringLiteral("No audio device could be opened (%1); playing silently")
                  .arg(QString::fromUtf8(SDL_GetError())));
    playSilently();
}

SdlAudioOutput::~SdlAudioOutput() {
    if (device)
        SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// SDL's audio on `driver` (none: the environment's choice, else SDL's own order) with the default
// device open; false, with SDL's audio stopped again, when either fails.
bool SdlAudioOutput::startDriver(const char* driver) {
    if (driver)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (started && open())
        return true;
    if (started)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool SdlAudioOutput::open() {
    SDL_AudioSpec wanted{};
    wanted.freq = format().sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = Uint8(format().channels);
    // Small buffers cost wakeups: 1,024 frames would spare PulseAudio's client about half a percent
    // of a core while playing, but would put a seek's first sound past 50 ms.
    wanted.samples = 512;
    wanted.callback = &SdlAudioOutput::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!device)
        return false;
    bufferFrames = obtained.samples;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioOutput::playSilently() {
    silent = true;
    lastTry = std::chrono::steady_clock::now();
    if (!startDriver("dummy"))
        printLine(QStringLiteral("The silent audio driver failed too (%1)")
                      .arg(QString::fromUtf8(SDL_GetError())));
}

void SdlAudioOutput::release() {
    std::lock_guard lock(deviceLock);
    if (device)
        SDL_CloseAudioDevice(device);
    device = 0;
    released = true;
}

void SdlAudioOutput::acquire() {
    std::lock_guard lock(deviceLock);
    released = false;
    // Opening takes a couple of milliseconds. Should it fail (the sound server went away while
    // the device was closed), the music goes on silently and maintain() looks for a server.
    if (device || open())
        return;
    printLine(QStringLiteral("No audio device could be opened (%1); playing silently")
                  .arg(QString::fromUtf8(SDL_GetError())));
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    playSilently();
}

void SdlAudioOutput::maintain() {
    std::lock_guard lock(deviceLock);
    if (released)
        return;
    if (silent) {
        if (std::chrono::steady_clock::now() - lastTry < retryEvery)
            return;
        if (device)
            SDL_CloseAudioDevice(device);
        device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (!startDriver(qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER") ? soundServers : nullptr)) {
            playSilently();
            return;
        }
        silent = false;
        printLine(QStringLiteral("Audio output device found; now playing on the default device"));
        return;
    }
    if (device && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED)
        return;
    if (device)
        SDL_CloseAudioDevice(device);
    device = 0;
    if (open())
        printLine(QStringLiteral("Audio output device changed; now playing on the default device"));
}

void SdlAudioOutput::callback(void* self, Uint8* stream, int length) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    const int frames = length / int(sizeof(float) * 2);
    output->stamp.store({double(output->clock), output->steadyStamp(frames)});
    output->source(reinterpret_cast<float*>(stream), frames, output->clock);
    output->clock += frames;
}

// When the buffer asked for now is due, on an even timeline: the device takes its buffers at a
// steady pace but the callbacks reach us with the scheduler's jitter, so each arrival moves the
// estimate only a tenth of the way from where the pace puts it. Positions read between callbacks
// then advance evenly instead of jumping with every late or early one. A gap of several buffers
// (a stall, a device reopened) starts the timeline afresh.
double SdlAudioOutput::steadyStamp(int frames) {
    const double now = steadyNanoseconds();
    const double due = smoothedStamp + lastFrames * 1e9 / format().sampleRate;
    const double bufferNanoseconds = bufferFrames * 1e9 / format().sampleRate;
    smoothedStamp = smoothedStamp == 0 || std::abs(now - due) > 4 * bufferNanoseconds
                        ? now
                        : due + 0.1 * (now - due);
    lastFrames = frames;
    return smoothedStamp;
}

double SdlAudioOutput::heardFrame() const {
    // While a callback's buffer is being written, the one before it is playing: the frame
    // heard runs on from one buffer behind the latest write position. Callbacks come in
    // bursts, so it may run a buffer past that position before the next one arrives; beyond
    // that the device has stalled (or is gone) and the position waits. It never goes back.
    const Stamp latest = stamp.load();
    if (latest.nanoseconds == 0)
        return 0; // no callback yet: nothing has been heard
    const double elapsed = (steadyNanoseconds() - latest.nanoseconds) * 1e-9;
    const double behind = latest.frame - bufferFrames;
    const double heard =
        std::clamp(behind + elapsed * format().sampleRate, behind, latest.frame + bufferFrames);
    double before = latestHeard.load(std::memory_order_relaxed);
    while (heard > before &&
           !latestHeard.compare_exchange_weak(before, heard, std::memory_order_relaxed)) {
    }
    return std::max(heard, before);
}
