#pragma once
// The sound device: SDL's default output, 44.1 kHz stereo float (SDL converts for devices that
// differ), closed by release() while nothing plays and opened again by acquire(). A device that
// goes away (headphones pulled, a Bluetooth speaker lost, sleep) is reopened by maintain() and
// playing goes on from where it was. With no device at all it falls back to SDL's silent,
// real-time "dummy" driver, and looks for a sound server again every couple of seconds (one
// restarting when the first track began).

#include "platform/audio/AudioOutput.h"
#include "platform/audio/SeqLocked.h"

#include <SDL2/SDL_audio.h>
#include <atomic>
#include <chrono>
#include <mutex>

class SdlAudioOutput : public AudioOutput {
public:
    explicit SdlAudioOutput(Source source);
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    AudioFormat format() const override { return {44100, 2}; }
    bool isRealTime() const override { return true; }
    double heardFrame() const override;
    void maintain() override;
    void release() override;
    void acquire() override;

private:
    static void callback(void* self, Uint8* stream, int length);
    bool open();
    bool startDriver(const char* driver);
    void playSilently();
    double steadyStamp(int frames);

    Source source;
    std::mutex deviceLock; // open, close, reopen: from the engine's threads, never the callback
    SDL_AudioDeviceID device = 0;
    bool released = false;
    // On the silent driver for want of a device, and when a real one was last tried.
    bool silent = false;
    std::chrono::steady_clock::time_point lastTry;
    std::atomic<int> bufferFrames = 512;
    int64_t clock = 0;        // callback only
    double smoothedStamp = 0; // callback only: nanoseconds, see steadyStamp()
    int lastFrames = 0;       // callback only
    mutable std::atomic<double> latestHeard{0};

    // The output frame written first by the latest callback, and when it ran.
    struct Stamp {
        double frame = 0;
        double nanoseconds = 0;
    };
    SeqLocked<Stamp> stamp;
};
