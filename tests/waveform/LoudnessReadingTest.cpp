// The count of values wanted is the extractor's test, on real files.
#include "waveform/LoudnessReading.h"

#include "testaudio/TestAudio.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Status = LoudnessReading::Status;

// A stereo decoder over 100,003 frames at 1000 a second: silence in the first half, full scale
// in the second.
class FakeDecoder : public AudioDecoder {
public:
    int sampleRate() const override { return 1000; }
    int channels() const override { return 2; }
    int64_t frameCount() const override { return frames; }
    bool seek(int64_t frame) override {
        position = frame;
        return frame <= frames;
    }
    int64_t readFloat(float*, int64_t) override { return -1; }
    int64_t readInt16(int16_t* out, int64_t wanted) override {
        ++reads;
        const int64_t count = std::min(wanted, frames - position);
        for (int64_t i = 0; i < count * 2; ++i)
            out[i] = (position + i / 2) * 2 >= frames ? int16_t(-32768) : int16_t(0);
        position += count;
        return count;
    }

    static constexpr int64_t frames = 100003;
    int64_t position = 0;
    int reads = 0;
    std::atomic<bool> cancelled = false;
};

} // namespace

TEST(LoudnessReading, readingInTwoHalvesGivesTheValuesOfOneReading) {
    FakeDecoder whole;
    FakeDecoder head;
    const LoudnessReading one = readLoudness(whole, {}, 99, whole.cancelled);
    const SecondDecoder second{[] { return std::make_unique<FakeDecoder>(); }, 0};
    const LoudnessReading two = readLoudness(head, {}, 99, head.cancelled, second);
    ASSERT_EQ(two.status, Status::completed);
    EXPECT_EQ(two.samples, one.samples);
    EXPECT_EQ(two.sampleMax, one.sampleMax);
    EXPECT_LT(head.reads, whole.reads) << "the second half was read elsewhere";
    // A second decoder that cannot be had leaves the first to read on.
    FakeDecoder alone;
    const SecondDecoder none{[] { return std::unique_ptr<AudioDecoder>(); }, 0};
    EXPECT_EQ(readLoudness(alone, {}, 99, alone.cancelled, none).samples, one.samples);

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
