#include "waveform/LoudnessReducer.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(reduce({}, 10).empty());
}
