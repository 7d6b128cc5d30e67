// Moving between zeros is tested through the transport's commands; these are the edges.
#include "model/Zeros.h"

#include <gtest/gtest.h>

TEST(Zeros, AddZeroRemovesZerosWithinThreeSecondsInclusiveAndNoDurationEndsAtNothing) {
    std::vector<double> zeros{6.99, 7.0, 13.0, 13.01};
    Zeros::addZero(zeros, 10);
    EXPECT_EQ(zeros, (std::vector<double>{6.99, 10, 13.01}));
    EXPECT_EQ(Zeros::nextZero(zeros, 13.02, std::nullopt), 0.0);
    EXPECT_EQ(Zeros::previousZero(zeros, 10), 10);
}
