#include "waveform/LoudnessReading.h"

#include "waveform/LoudnessReducer.h"

#include <algorithm>
#include <cmath>
#include <future>
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

using Status = LoudnessReading::Status;

struct Read {
    Status status = Status::completed;
    int64_t frames = 0;
};

// Reads up to `frames` frames (to the end of the file when none) into the reducer.
Read readInto(AudioDecoder& decoder, std::optional<int64_t> frames, LoudnessReducer& reducer,
              const std::atomic<bool>& cancelled) {
    const int channels = decoder.channels();
    int64_t remaining = frames.value_or(std::numeric_limits<int64_t>::max());
    std::vector<int16_t> buffer(size_t(framesPerRead * channels));
    Read done;
    while (remaining > 0) {
        if (cancelled.load(std::memory_order_relaxed))
            return {Status::cancelled, done.frames};
        const int64_t read = decoder.readInt16(buffer.data(), std::min(framesPerRead, remaining));
        if (read < 0)
            return {Status::failed, done.frames};
        if (read == 0)
            break;
        reducer.append(buffer.data(), size_t(read * channels));
        remaining -= read;
        done.frames += read;
    }
    return done;
}

LoudnessReading finished(LoudnessReducer& reducer) {
    reducer.finish();
    return {Status::completed, reducer.normalisedSamples(), reducer.sampleMax()};
}

} // namespace

LoudnessReading readLoudness(AudioDecoder& decoder,
                             std::optional<SamplesExtractor::TimeRange> timeRange,
                             int desiredNumberOfSamples, const std::atomic<bool>& cancelled,
                             const SecondDecoder& second) {
    const int channels = decoder.channels();
    const FrameSpan span = frameSpan(decoder, timeRange);
    const int64_t samplesPerBlock =
        std::max<int64_t>(span.count * channels / desiredNumberOfSamples, 1);
    LoudnessReducer first(samplesPerBlock);
    if (span.first > 0 && !decoder.seek(span.first))
        return {Status::failed, {}, 0};

    // The halves meet after a whole number of blocks that is also a whole number of frames.
    const int64_t blocks = span.count * channels / samplesPerBlock;
    const int64_t splitBlocks = blocks / 2 / channels * channels;
    const int64_t splitFrame = splitBlocks * samplesPerBlock / channels;
    // A whole track is read to its end rather than to frameCount, in case that is short.
    const std::optional<int64_t> wanted = timeRange ? std::optional(span.count) : std::nullopt;
    if (!second.open || span.count < second.minimumFrames || splitBlocks == 0) {
        const Status status = readInto(decoder, wanted, first, cancelled).status;
        return status == Status::completed ? finished(first) : LoudnessReading{status, {}, 0};
    }

    LoudnessReducer last(samplesPerBlock);
    const auto rest = [&](int64_t from) {
        return wanted ? std::optional(*wanted - from) : std::nullopt;
    };
    std::future<Status> lastHalf = std::async(std::launch::async, [&] {
        const std::unique_ptr<AudioDecoder> other = second.open();
        if (!other || !other->seek(span.first + splitFrame))
            return Status::failed;
        return readInto(*other, rest(splitFrame), last, cancelled).status;
    });
    const Read head = readInto(decoder, splitFrame, first, cancelled);
    const Status tail = lastHalf.get();
    if (head.status != Status::completed)
        return {head.status, {}, 0};
    if (head.frames < splitFrame)
        return finished(first); // the file is shorter than it said: nothing lies beyond
    if (tail != Status::completed) {
        // The second decoder could not go on; this one reads the rest after all.
        const Status status = readInto(decoder, rest(splitFrame), first, cancelled).status;
        return status == Status::completed ? finished(first) : LoudnessReading{status, {}, 0};
    }
    LoudnessReading reading = finished(last);
    std::vector<float> samples = first.normalisedSamples();
    samples.insert(samples.end(), reading.samples.begin(), reading.samples.end());
    reading.samples = std::move(samples);
    reading.sampleMax = std::max(first.sampleMax(), reading.sampleMax);
    return reading;
}
