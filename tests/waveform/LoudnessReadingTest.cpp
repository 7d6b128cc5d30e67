// The count of values wanted is the extractor's test, on real files.
#include "waveform/LoudnessReading.h"

#include "testaudio/TestAudio.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A real MP3, its halves decoded on two threads at once: the second decoder seeks
// sample-accurately into the middle. That the halves save time is the waveform benchmark's.
TEST(LoudnessReading, readingInTwoHalvesGivesTheValuesOfOneReading) {
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
    // A second decoder that cannot be had leaves the first to read on.
    const SecondDecoder none{[] { return std::unique_ptr<AudioDecoder>(); }, 0};
    for (const SecondDecoder& second : {SecondDecoder{open, 0}, none}) {
        const LoudnessReading halves = readLoudness(*open(), {}, 300, never, second);
        ASSERT_EQ(halves.status, LoudnessReading::Status::completed);
        ASSERT_EQ(halves.samples.size(), once.samples.size());
        for (size_t i = 0; i < once.samples.size(); ++i)
            EXPECT_NEAR(halves.samples[i], once.samples[i], 1e-5) << i;
    }
}
