#include "waveform/LoudnessReading.h"

#include "testaudio/TestAudio.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Status = LoudnessReading::Status;

// A decoder over samples held in memory at 1000 frames per second: silence in the first half,
// full scale in the second. It can fail or raise its cancellation flag on a given read.
class FakeDecoder : public AudioDecoder {
public:
    FakeDecoder(int channels, int64_t frames) : _channels(channels), _frames(frames) {}

    int sampleRate() const override { return 1000; }
    int channels() const override { return _channels; }
    int64_t frameCount() const override { return _frames; }
    bool seek(int64_t frame) override {
        _position = frame;
        return frame <= _frames;
    }
    int64_t readFloat(float*, int64_t) override { return -1; }
    int64_t readInt16(int16_t* out, int64_t frames) override {
        if (++reads == cancelOnRead)
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

LoudnessReading read(int channels, int64_t frames, int desired, const SecondDecoder& second = {}) {
    FakeDecoder decoder(channels, frames);
    return readLoudness(decoder, {}, desired, decoder.cancelled, second);
}

SecondDecoder fakeSecond(int channels, int64_t frames) {
    return {[=] { return std::make_unique<FakeDecoder>(channels, frames); }, 0};
}

} // namespace

// The count of values wanted is the extractor's test, on real files.
TEST(LoudnessReading, failureAndCancellationStopTheRead) {
    FakeDecoder failing(2, 100000);
    failing.failOnRead = 3;
    const LoudnessReading failed = readLoudness(failing, {}, 100, failing.cancelled);
    EXPECT_EQ(failed.status, Status::failed);
    EXPECT_TRUE(failed.samples.empty());

    FakeDecoder cancelling(2, 100000);
    cancelling.cancelOnRead = 2;
    EXPECT_EQ(readLoudness(cancelling, {}, 100, cancelling.cancelled).status, Status::cancelled);
    EXPECT_EQ(cancelling.reads, 2);
}

TEST(LoudnessReading, readingInTwoHalvesGivesTheValuesOfOneReading) {
    FakeDecoder whole(2, 100003);
    FakeDecoder head(2, 100003);
    const LoudnessReading one = readLoudness(whole, {}, 99, whole.cancelled);
    const LoudnessReading two = readLoudness(head, {}, 99, head.cancelled, fakeSecond(2, 100003));
    ASSERT_EQ(two.status, Status::completed);
    EXPECT_EQ(two.samples, one.samples);
    EXPECT_EQ(two.sampleMax, one.sampleMax);
    EXPECT_LT(head.reads, whole.reads) << "the second half was read elsewhere";
    // A second decoder that cannot be had leaves the first to read on.
    const SecondDecoder none{[] { return std::unique_ptr<AudioDecoder>(); }, 0};
    EXPECT_EQ(read(2, 100003, 100, none).samples, read(2, 100003, 100).samples);

    // A real MP3, its halves decoded on two threads at once: the second decoder seeks
    // sample-accurately into the middle.
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
}
