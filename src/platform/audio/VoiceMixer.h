#pragma once
// Mixes every sounding voice into the output buffer. render() runs on the audio callback thread:
// it reads an array of atomic voice pointers and the voices' rings, and never locks, waits or
// allocates. Voices join and leave from other threads; leave() returns only once the callback
// can no longer be touching the voice.

#include <array>
#include <atomic>
#include <cstdint>

class AudioVoice;

class VoiceMixer {
public:
    static constexpr int maxVoices = 32;

    explicit VoiceMixer(int channels) : channels(channels) {}

    // False when maxVoices are already sounding.
    bool join(AudioVoice* voice);
    void leave(AudioVoice* voice);
    // True when no voice is sounding.
    bool empty() const;

    // Audio callback: writes `frames` frames; `firstFrame` is the output clock of out[0].
    void render(float* out, int frames, int64_t firstFrame);

private:
    // Returns once no render() that began before the call is still running.
    void waitForRender() const;

    const int channels;
    std::array<std::atomic<AudioVoice*>, maxVoices> voiceSlots{};
    std::atomic<uint64_t> renderCount{0}; // odd while render() runs
};
