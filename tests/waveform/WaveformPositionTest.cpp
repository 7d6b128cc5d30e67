#include "waveform/WaveformPosition.h"

#include <gtest/gtest.h>

TEST(WaveformPosition, onlyTheThreeRawValuesMakeAPosition) {
    EXPECT_EQ(waveformPositionFromRawValue(-1), WaveformPosition::top);
    EXPECT_EQ(waveformPositionFromRawValue(0), WaveformPosition::middle);
    EXPECT_EQ(waveformPositionFromRawValue(1), WaveformPosition::bottom);
    EXPECT_FALSE(waveformPositionFromRawValue(2));
    EXPECT_FALSE(waveformPositionFromRawValue(-2));
}
