#include "waveform/LoudnessReading.h"

#include "testaudio/TestAudio.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A decoder over samples held in memory: full scale in the second half, silence in the first.
// It can fail after a number of reads and cancel a flag on a given read.
class FakeDecoder : public AudioDecoder {
public:
    FakeDecoder(int channels, int64_t frames) : _channels(channels), _frames(frames) {}

    int sampleRate() const override { return 1000; }
    int channels() const override { return _channels; }
    int64_t frameCount() const override { return _frames; }

    bool seek(int64_t frame) override {
        if (frame > _frames)
            return false;
        _position = frame;
        return true;
    }
    int64_t readFloat(float*, int64_t) override { return -1; }
    int64_t readInt16(int16_t* out, int64_t frames) override {
        ++reads;
        if (reads == cancelOnRead)
            cancelled.store(true);
        if (reads == failOnRead)
            return -1;
        const int64_t count = std::min(frames, _frames - _position);
        for (int64_t i = 0; i < count * _channels; ++i)
            out[i] = (_position + i / _channels) * 2 >= _frames ? int16_t(-32768) : int16_t(0);
        _position += count;
        return count;
    }

    int reads = 0;
    int failOnRead = -1;
    int cancelOnRead = -1;
    std::atomic<bool> cancelled = false;

private:
    int _channels;
    int64_t _frames;
    int64_t _position = 0;
};

} // namespace

TEST(LoudnessReading, countIsDesiredOrOneMoreForMonoAndStereo) {
    // Blocks at least as long as the count wanted (every track longer than a few seconds), so the
    // truncated block length adds at most the tail.
    for (int64_t frames : {1000003, 1234567, 1999999}) {
        for (int desired : {1, 7, 333, 1000}) {
            FakeDecoder mono(1, frames);
            FakeDecoder stereo(2, frames);
            const LoudnessReading fromMono = readLoudness(mono, {}, desired, mono.cancelled);
            const LoudnessReading fromStereo = readLoudness(stereo, {}, desired, stereo.cancelled);
            ASSERT_EQ(fromMono.status, LoudnessReading::Status::completed);
            ASSERT_EQ(fromStereo.status, LoudnessReading::Status::completed);
            EXPECT_GE(fromMono.samples.size(), size_t(desired)) << frames << " " << desired;
            EXPECT_LE(fromMono.samples.size(), size_t(desired) + 1) << frames << " " << desired;
            EXPECT_EQ(fromStereo.samples.size(), fromMono.samples.size());
            if (desired == 1)
                continue;
            EXPECT_FLOAT_EQ(fromMono.samples.front(), 1.0f);
            EXPECT_FLOAT_EQ(fromMono.samples.back(), 0.0f);
            EXPECT_FLOAT_EQ(fromStereo.sampleMax, 0.0f);
        }
    }
}

TEST(LoudnessReading, timeRangeReadsOnlyThatSpanAndShortReadsGiveOneValuePerSample) {
    FakeDecoder tiny(1, 10);
    EXPECT_EQ(readLoudness(tiny, {}, 1000, tiny.cancelled).samples.size(), 10u);

    // 10 s at 1000 frames per second; the loud half starts at 5 s.
    FakeDecoder decoder(2, 10000);
    const LoudnessReading quiet =
        readLoudness(decoder, SamplesExtractor::TimeRange{1.0, 3.0}, 30, decoder.cancelled);
    ASSERT_EQ(quiet.status, LoudnessReading::Status::completed);
    EXPECT_EQ(quiet.samples.size(), 30u);
    EXPECT_FLOAT_EQ(quiet.sampleMax, -50.0f);

    // Half silent, half loud: the values split at the middle of the range.
    FakeDecoder again(2, 10000);
    const LoudnessReading straddling =
        readLoudness(again, SamplesExtractor::TimeRange{4.0, 2.0}, 4, again.cancelled);
    ASSERT_EQ(straddling.samples.size(), 4u);
    EXPECT_FLOAT_EQ(straddling.samples[1], 1.0f);
    EXPECT_FLOAT_EQ(straddling.samples[2], 0.0f);

    // A range running past the end is one shorter tail block: a single value.
    FakeDecoder past(1, 10000);
    const LoudnessReading beyond =
        readLoudness(past, SamplesExtractor::TimeRange{9.0, 100.0}, 2, past.cancelled);
    ASSERT_EQ(beyond.status, LoudnessReading::Status::completed);
    EXPECT_EQ(beyond.samples.size(), 1u);

    FakeDecoder unreachable(1, 10000);
    EXPECT_EQ(
        readLoudness(unreachable, SamplesExtractor::TimeRange{11.0, 1.0}, 2, unreachable.cancelled)
            .status,
        LoudnessReading::Status::failed);
}

TEST(LoudnessReading, failureAndCancellationStopTheRead) {
    FakeDecoder failing(2, 100000);
    failing.failOnRead = 3;
    const LoudnessReading failed = readLoudness(failing, {}, 100, failing.cancelled);
    EXPECT_EQ(failed.status, LoudnessReading::Status::failed);
    EXPECT_TRUE(failed.samples.empty());

    FakeDecoder cancelling(2, 100000);
    cancelling.cancelOnRead = 2;
    const LoudnessReading cancelled = readLoudness(cancelling, {}, 100, cancelling.cancelled);
    EXPECT_EQ(cancelled.status, LoudnessReading::Status::cancelled);
    EXPECT_EQ(cancelling.reads, 2);
}

TEST(LoudnessReading, readingInTwoHalvesGivesTheValuesOfOneReading) {
    for (const int channels : {1, 2}) {
        for (const int desired : {7, 100, 1000}) {
            SCOPED_TRACE(testing::Message() << channels << " channels, " << desired << " values");
            FakeDecoder whole(channels, 100003);
            const LoudnessReading one = readLoudness(whole, {}, desired, whole.cancelled);
            FakeDecoder head(channels, 100003);
            const SecondDecoder second{
                [channels] { return std::make_unique<FakeDecoder>(channels, 100003); }, 0};
            const LoudnessReading two = readLoudness(head, {}, desired, head.cancelled, second);
            ASSERT_EQ(two.status, LoudnessReading::Status::completed);
            EXPECT_EQ(two.samples, one.samples);
            EXPECT_EQ(two.sampleMax, one.sampleMax);
            EXPECT_LT(head.reads, whole.reads) << "the second half was read elsewhere";
        }
    }

    // A real MP3: the second decoder seeks sample-accurately into the middle.
    QTemporaryDir dir;
    testaudio::Spec spec;
    spec.seconds = 6;
    const QString path = dir.filePath("tone.mp3");
    ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Mp3Cbr, path));
    const auto open = [&path] {
        return AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16);
    };
    const std::atomic<bool> never = false;
    const LoudnessReading once = readLoudness(*open(), {}, 300, never);
    const LoudnessReading halves = readLoudness(*open(), {}, 300, never, {open, 0});
    ASSERT_EQ(halves.samples.size(), once.samples.size());
    for (size_t i = 0; i < once.samples.size(); ++i)
        EXPECT_NEAR(halves.samples[i], once.samples[i], 1e-5) << i;

    // A second decoder that cannot be had leaves the first to read on; a time range splits too.
    FakeDecoder alone(2, 100003);
    const SecondDecoder none{[] { return std::unique_ptr<AudioDecoder>(); }, 0};
    FakeDecoder reference(2, 100003);
    EXPECT_EQ(readLoudness(alone, {}, 100, alone.cancelled, none).samples,
              readLoudness(reference, {}, 100, reference.cancelled).samples);
    FakeDecoder ranged(2, 100003);
    FakeDecoder rangedReference(2, 100003);
    const SecondDecoder another{[] { return std::make_unique<FakeDecoder>(2, 100003); }, 0};
    const SamplesExtractor::TimeRange range{20.0, 60.0};
    EXPECT_EQ(readLoudness(ranged, range, 50, ranged.cancelled, another).samples,
              readLoudness(rangedReference, range, 50, rangedReference.cancelled).samples);
}
