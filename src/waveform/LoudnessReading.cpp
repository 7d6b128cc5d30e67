#include "waveform/LoudnessReading.h"

#include "waveform/LoudnessReducer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t framesPerRead = 4096;

struct FrameSpan {
    int64_t first = 0;
    int64_t count = 0; // frames wanted; the decoder may end sooner
};

FrameSpan frameSpan(const AudioDecoder& decoder,
                    const std::optional<SamplesExtractor::TimeRange>& timeRange) {
    if (!timeRange)
        return {0, decoder.frameCount()};
    const double rate = decoder.sampleRate();
    const int64_t first = std::max<int64_t>(std::llround(timeRange->start * rate), 0);
    return {first, std::max<int64_t>(std::llround(timeRange->duration * rate), 0)};
}

} // namespace

LoudnessReading readLoudness(AudioDecoder& decoder,
                             std::optional<SamplesExtractor::TimeRange> timeRange,
                             int desiredNumberOfSamples, const std::atomic<bool>& cancelled) {
    const int channels = decoder.channels();
    const FrameSpan span = frameSpan(decoder, timeRange);
    LoudnessReducer reducer(span.count * channels / desiredNumberOfSamples);
    if (span.first > 0 && !decoder.seek(span.first))
        return {LoudnessReading::Status::failed, {}, 0};

    // A whole track is read to its end rather than to frameCount, in case that is short.
    int64_t remaining = timeRange ? span.count : std::numeric_limits<int64_t>::max();
    std::vector<int16_t> buffer(size_t(framesPerRead * channels));
    while (remaining > 0) {
        if (cancelled.load(std::memory_order_relaxed))
            return {LoudnessReading::Status::cancelled, {}, 0};
        const int64_t read = decoder.readInt16(buffer.data(), std::min(framesPerRead, remaining));
        if (read < 0)
            return {LoudnessReading::Status::failed, {}, 0};
        if (read == 0)
            break;
        reducer.append(buffer.data(), size_t(read * channels));
        remaining -= read;
    }
    reducer.finish();
    return {LoudnessReading::Status::completed, reducer.normalisedSamples(), reducer.sampleMax()};
}
