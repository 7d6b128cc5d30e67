#include "model/TimeRangeSet.h"

#include <gtest/gtest.h>

namespace {
std::vector<TimeRange> ranges(std::initializer_list<TimeRange> list) {
    return list;
}

// Inserts [start, end] into a set holding `before`; the index returned and the ranges after.
std::pair<int, std::vector<TimeRange>> inserted(std::vector<TimeRange> before, double start,
                                                double end, int from = 0) {
    TimeRangeSet set(std::move(before));
    const int index = set.insertRange(start, end, from);
    return {index, set.ranges()};
}
} // namespace

TEST(TimeRangeSet, InsertKeepsOrderAndMergesOverlaps) {
    using Result = std::pair<int, std::vector<TimeRange>>;
    EXPECT_EQ(inserted({}, 5, 20), Result(0, ranges({{5, 20}})));
    EXPECT_EQ(inserted({{0, 10}}, 5, 20), Result(0, ranges({{0, 20}})));
    EXPECT_EQ(inserted({{0, 10}}, 5, 5), Result(0, ranges({{0, 10}})));
    EXPECT_EQ(inserted({{0, 1}, {5, 6}, {8, 9}, {40, 50}}, 2, 30),
              Result(1, ranges({{0, 1}, {2, 30}, {40, 50}})));
    EXPECT_EQ(inserted({{10, 12}, {20, 30}}, 0, 5),
              Result(0, ranges({{0, 5}, {10, 12}, {20, 30}})));
    // Touching is asymmetric: a span starting where the previous one ends stays apart, one
    // ending where the next begins merges with it.
    EXPECT_EQ(inserted({{0, 10}}, 10, 20), Result(1, ranges({{0, 10}, {10, 20}})));
    EXPECT_EQ(inserted({{10, 20}}, 0, 10), Result(0, ranges({{0, 20}})));
    // The search starts at the given index; one past the end appends after the last range.
    EXPECT_EQ(inserted({{0, 1}, {5, 6}}, 10, 11, 1), Result(2, ranges({{0, 1}, {5, 6}, {10, 11}})));
    EXPECT_EQ(inserted({{0, 1}, {5, 6}}, 20, 21, 99),
              Result(2, ranges({{0, 1}, {5, 6}, {20, 21}})));
}

TEST(TimeRangeSet, ExtendRangeNeverShortensAndMergesOneFollower) {
    TimeRangeSet set(ranges({{0, 10}, {12, 15}, {16, 20}}));
    EXPECT_FALSE(set.extendRange(0, 5));
    EXPECT_FALSE(set.extendRange(3, 50));
    EXPECT_FALSE(set.extendRange(-1, 50));
    EXPECT_EQ(set.ranges(), ranges({{0, 10}, {12, 15}, {16, 20}}));
    // Reaching the next range absorbs it (and only it), keeping the later of the two ends.
    EXPECT_TRUE(set.extendRange(0, 13));
    EXPECT_EQ(set.ranges(), ranges({{0, 15}, {16, 20}}));
    EXPECT_TRUE(set.extendRange(0, 22));
    EXPECT_EQ(set.ranges(), ranges({{0, 22}}));
    EXPECT_EQ(set.totalLength(), 22);
}
