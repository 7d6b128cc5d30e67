#include "model/TimeString.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

// Widths and the other numbers of decimals have no test of their own.
TEST(TimeString, TruncatesToTheGivenDecimalsAndRefusesUnrepresentableTimes) {
    EXPECT_EQ(timeString(0, 2, 65.9), " 1:05");
    EXPECT_EQ(timeString(0, 2, 6000), "100:00");
    // Truncated like the whole seconds: 600.05 is stored as 600.04999...
    EXPECT_EQ(timeString(2, 2, 600.05), "10:00.04");
    // Large scales must not overflow on the way to the minutes.
    EXPECT_EQ(timeString(18, 1, 1.5), "0:01.500000000000000000");

    const double infinity = std::numeric_limits<double>::infinity();
    for (double time : {std::nan(""), infinity, -infinity, 1e19})
        EXPECT_EQ(timeString(0, 2, time), "--:--") << time;
    EXPECT_EQ(timeString(3, 2, 1e17), "--:--");
}
