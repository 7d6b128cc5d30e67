#include "model/TimeString.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(TimeString, MinutesAndSecondsTruncated) {
    EXPECT_EQ(timeString(0, 2, 65.9), " 1:05");
    EXPECT_EQ(timeString(0, 2, 59.999), " 0:59");
    EXPECT_EQ(timeString(0, 2, 0), " 0:00");
    EXPECT_EQ(timeString(0, 2, 600), "10:00");
    EXPECT_EQ(timeString(0, 2, 6000), "100:00");
    EXPECT_EQ(timeString(0, 4, 61), "   1:01");
}

TEST(TimeString, Decimals) {
    EXPECT_EQ(timeString(1, 2, 65.97), " 1:05.9");
    EXPECT_EQ(timeString(3, 2, 5.0625), " 0:05.062");
    EXPECT_EQ(timeString(2, 2, 600.25), "10:00.25");
    // Truncated like the whole seconds: 600.05 is stored as 600.04999...
    EXPECT_EQ(timeString(2, 2, 600.05), "10:00.04");
    // Large scales must not overflow on the way to the minutes.
    EXPECT_EQ(timeString(18, 1, 1.5), "0:01.500000000000000000");
}

TEST(TimeString, UnrepresentableTimes) {
    EXPECT_EQ(timeString(0, 2, std::nan("")), "--:--");
    EXPECT_EQ(timeString(0, 2, std::numeric_limits<double>::infinity()), "--:--");
    EXPECT_EQ(timeString(0, 2, -std::numeric_limits<double>::infinity()), "--:--");
    EXPECT_EQ(timeString(0, 2, 1e19), "--:--");
    EXPECT_EQ(timeString(3, 2, 1e17), "--:--");
}
