#include "model/Zeros.h"

#include <gtest/gtest.h>

TEST(Zeros, AddZeroRemovesZerosWithinThreeSecondsInclusive) {
    std::vector<double> zeros{7.0, 12.9, 13.0, 20};
    Zeros::addZero(zeros, 10);
    EXPECT_EQ(zeros, (std::vector<double>{10, 20}));

    std::vector<double> keep{6.99, 13.01};
    Zeros::addZero(keep, 10);
    EXPECT_EQ(keep, (std::vector<double>{6.99, 10, 13.01}));
}

TEST(Zeros, NextAndPreviousZero) {
    const std::vector<double> zeros{5, 10};
    EXPECT_EQ(Zeros::previousZero(zeros, 10), 10);
    EXPECT_EQ(Zeros::previousZero(zeros, 9.99), 5);
    EXPECT_EQ(Zeros::previousZero(zeros, 4.9), 0.0);

    EXPECT_EQ(Zeros::nextZero(zeros, 5, 180.0), 5);
    EXPECT_EQ(Zeros::nextZero(zeros, 5.3, 180.0), 10);
    EXPECT_EQ(Zeros::nextZero(zeros, 10.3, 180.0), 180.0);
    EXPECT_EQ(Zeros::nextZero(zeros, 10.3, std::nullopt), 0.0);
    EXPECT_EQ(Zeros::nextZero({}, 0, 42.0), 42.0);
}
