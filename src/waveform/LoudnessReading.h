#pragma once
// Reads an opened decoder from start to end (or over a time range) and reduces what it reads to
// about `desiredNumberOfSamples` normalised loudness values. Runs on a worker thread; checks the
// cancellation flag between read batches.

#include "platform/audio/AudioDecoder.h"
#include "waveform/SamplesExtractor.h"

#include <atomic>
#include <optional>
#include <vector>

struct LoudnessReading {
    enum class Status { completed, failed, cancelled };

    Status status = Status::completed;
    std::vector<float> samples; // normalised, when completed
    float sampleMax = 0;        // decibels, when completed
};

// `desiredNumberOfSamples` must be at least 1.
LoudnessReading readLoudness(AudioDecoder& decoder,
                             std::optional<SamplesExtractor::TimeRange> timeRange,
                             int desiredNumberOfSamples, const std::atomic<bool>& cancelled);
