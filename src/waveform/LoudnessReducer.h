#pragma once
// Reduces a stream of interleaved 16-bit samples to loudness values: each sample becomes decibels
// of amplitude against full scale (32768) clipped to [noise floor, 0], and each block of
// `samplesPerPixel` consecutive samples becomes its mean, channels mixed into the same blocks.
// Batches may end anywhere; an unfinished block carries over as a running sum, so memory does not
// grow with the track.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

class LoudnessReducer {
public:
    explicit LoudnessReducer(int64_t samplesPerPixel);

    void append(const int16_t* samples, size_t count);
    // The samples left over, fewer than one block, become one last value: a shorter tail block.
    void finish();

    // Reduced values in decibels, from the noise floor to 0.
    const std::vector<float>& outputSamples() const { return _outputSamples; }
    float sampleMax() const { return _sampleMax; }
    // Each value divided by the noise floor: 0 at full scale, 1 at or below the floor.
    std::vector<float> normalisedSamples() const;

private:
    void emitBlock();

    int64_t _samplesPerPixel;
    float _blockSum = 0;
    int64_t _blockFill = 0;
    std::vector<float> _outputSamples;
    float _sampleMax = -std::numeric_limits<float>::infinity();
};
