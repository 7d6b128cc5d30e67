#pragma once
// Where the engine's mix goes: the sound device, or an offline buffer for tests and tools.

#include "platform/audio/AudioFormat.h"

#include <cstdint>
#include <functional>

class AudioOutput {
public:
    // What an output plays: fills `frames` frames, the first of which has the output clock
    // `firstFrame`. Called on the output's own thread; must be real-time safe.
    using Source = std::function<void(float* out, int frames, int64_t firstFrame)>;

    virtual ~AudioOutput() = default;

    virtual AudioFormat format() const = 0;
    // False for an offline output: the feeder's work then runs inside its render call, so
    // results never depend on thread timing.
    virtual bool isRealTime() const = 0;
    // The output frame being heard now (fractional), the device's latency accounted for.
    virtual double heardFrame() const = 0;
    // Called by the feeder a few times a second: the chance to recover a lost device.
    virtual void maintain() {}
    // Called when nothing has sounded for a while, and before sound is wanted again: an open
    // device costs the program and the sound server a steady trickle of work even on silence,
    // so a device output closes it and opens it again.
    virtual void release() {}
    virtual void acquire() {}
};
