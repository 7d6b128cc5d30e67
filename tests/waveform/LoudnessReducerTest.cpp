#include "waveform/LoudnessReducer.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

std::vector<float> reduce(const std::vector<int16_t>& samples, int64_t samplesPerPixel) {
    LoudnessReducer reducer(samplesPerPixel);
    reducer.append(samples.data(), samples.size());
    reducer.finish();
    return reducer.outputSamples();
}

} // namespace

TEST(LoudnessReducer, blocksAreMeansOfClippedDecibelsAndTheTailIsItsOwnMean) {
    // Magnitude 32768 is exactly 0 dB, silence is clipped to -50; a sample below the floor
    // (magnitude 100 is about -50.3 dB) is clipped too, and a negative sample counts by magnitude.
    const std::vector<float> values = reduce({-32768, 0, 3277, -3277, 100, 16384}, 2);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_FLOAT_EQ(values[0], -25.0f);
    EXPECT_NEAR(values[1], -20.0f, 0.001f);
    EXPECT_NEAR(values[2], (-50.0f - 6.0206f) / 2, 0.0001f);

    // 7 samples in blocks of 3: two whole blocks and a tail of one sample.
    EXPECT_EQ(reduce({0, 0, 0, 0, 0, 0, -32768}, 3), (std::vector<float>{-50, -50, 0}));

    // Fewer samples than one block: a single value averaging all of them.
    EXPECT_EQ(reduce({-32768, 0, 0, 0}, 1000), std::vector<float>{-37.5f});
    EXPECT_TRUE(reduce({}, 10).empty());
}

TEST(LoudnessReducer, batchBoundariesDoNotChangeTheResult) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<int16_t> samples(10007);
    for (int16_t& s : samples)
        s = int16_t(sample(random));
    const std::vector<float> whole = reduce(samples, 333);

    LoudnessReducer reducer(333);
    std::uniform_int_distribution<size_t> batch(1, 900);
    for (size_t at = 0; at < samples.size();) {
        const size_t count = std::min(batch(random), samples.size() - at);
        reducer.append(samples.data() + at, count);
        at += count;
    }
    reducer.finish();
    ASSERT_EQ(reducer.outputSamples().size(), whole.size());
    EXPECT_EQ(whole.size(), 31u); // 30 blocks of 333 and a tail of 17
    for (size_t i = 0; i < whole.size(); ++i)
        EXPECT_NEAR(reducer.outputSamples()[i], whole[i], 0.001f) << i;
    EXPECT_FLOAT_EQ(reducer.sampleMax(), *std::max_element(whole.begin(), whole.end()));
}
