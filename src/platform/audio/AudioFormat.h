#pragma once
// The sample layout the engine mixes in and an output plays: interleaved 32-bit floats at
// `sampleRate` frames per second with `channels` samples per frame.

struct AudioFormat {
    int sampleRate = 44100;
    int channels = 2;

    bool operator==(const AudioFormat&) const = default;
};
