#pragma once
// Reads an opened decoder from start to end (or over a time range) and reduces what it reads to
// about `desiredNumberOfSamples` normalised loudness values. Runs on a worker thread; checks the
// cancellation flag between read batches. Memory is a read buffer per decoder, whatever the
// track's length.

#include "platform/audio/AudioDecoder.h"
#include "waveform/SamplesExtractor.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct LoudnessReading {
    enum class Status { completed, failed, cancelled };

    Status status = Status::completed;
    std::vector<float> samples; // normalised, when completed
    float sampleMax = 0;        // decibels, when completed
};

// Another decoder of the same file. With one, a span of at least `minimumFrames` is read in two
// halves at once, the second on a thread of its own: decoding is nearly all of the time, and the
// two halves meet at a block boundary, so the values are those of one reading.
struct SecondDecoder {
    static constexpr int64_t defaultMinimumFrames = int64_t(1) << 21; // 47 s at 44.1 kHz

    std::function<std::unique_ptr<AudioDecoder>()> open;
    int64_t minimumFrames = defaultMinimumFrames;
};

// `desiredNumberOfSamples` must be at least 1.
LoudnessReading readLoudness(AudioDecoder& decoder,
                             std::optional<SamplesExtractor::TimeRange> timeRange,
                             int desiredNumberOfSamples, const std::atomic<bool>& cancelled,
                             const SecondDecoder& second = {});
