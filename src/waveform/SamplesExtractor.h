#pragma once
// Turns the audio of one track into a short list of loudness values, one per horizontal point of
// a waveform view. Decoding and reduction run on the thread pool; the one callback arrives later
// on the main thread. Use one extractor per view: starting an extraction cancels the ones it
// started before, so only the newest result is delivered and stale ones stop decoding.

#include "waveform/SamplesExtractorError.h"

#include <QString>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SamplesExtractor {
public:
    // Decibels. Values are clipped to it and normalised by it.
    static constexpr float noiseFloor = -50.0f;

    // Seconds into the track.
    struct TimeRange {
        double start = 0;
        double duration = 0;
    };

    // `samples` in [0, 1]: 0 is full scale, 1 at or below the noise floor. `sampleMax` is the
    // loudest value in decibels.
    using OnSuccess = std::function<void(const std::vector<float>& samples, float sampleMax,
                                         const std::optional<QString>& identifier)>;
    using OnFailure = std::function<void(const SamplesExtractorError& error,
                                         const std::optional<QString>& identifier)>;

    SamplesExtractor();
    // Cancels what is still running; its callbacks are never called.
    ~SamplesExtractor();
    SamplesExtractor(const SamplesExtractor&) = delete;
    SamplesExtractor& operator=(const SamplesExtractor&) = delete;

    // Call on the main thread. `track` is a local file URL; no `timeRange` means the whole track.
    // About `desiredNumberOfSamples` values come back (the shorter tail block can add one).
    void extractSamples(const QUrl& track, std::optional<TimeRange> timeRange,
                        int desiredNumberOfSamples, OnSuccess onSuccess, OnFailure onFailure,
                        std::optional<QString> identifier = std::nullopt);

private:
    std::shared_ptr<std::atomic<bool>> _cancelled;
};
