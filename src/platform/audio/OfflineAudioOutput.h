#pragma once
// An output with no device and no clock of its own: time advances only when render() is told
// to produce N frames. Tests and tools use it for exact, repeatable positions and track ends.

#include "platform/audio/AudioOutput.h"

#include <vector>

class OfflineAudioOutput : public AudioOutput {
public:
    OfflineAudioOutput(AudioFormat format, Source source)
        : _format(format), source(std::move(source)) {}

    AudioFormat format() const override { return _format; }
    bool isRealTime() const override { return false; }
    double heardFrame() const override { return double(rendered); }

    // Mixes the next `frames` frames (interleaved) and advances the clock by as many.
    std::vector<float> render(int frames);
    // Advances the clock by `seconds`, discarding the sound.
    void advance(double seconds);
    int64_t framesRendered() const { return rendered; }

private:
    AudioFormat _format;
    Source source;
    int64_t rendered = 0;
};
