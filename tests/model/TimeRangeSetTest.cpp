#include "model/TimeRangeSet.h"

#include <gtest/gtest.h>

namespace {
std::vector<TimeRange> ranges(std::initializer_list<TimeRange> list) {
    return list;
}
} // namespace

TEST(TimeRangeSet, InsertKeepsOrderAndMergesOverlaps) {
    TimeRangeSet set;
    EXPECT_EQ(set.insertRange(5, 20), 0);
    EXPECT_EQ(set.ranges(), ranges({{5, 20}}));

    TimeRangeSet extended(ranges({{0, 10}}));
    EXPECT_EQ(extended.insertRange(5, 20), 0);
    EXPECT_EQ(extended.ranges(), ranges({{0, 20}}));

    TimeRangeSet inside(ranges({{0, 10}}));
    EXPECT_EQ(inside.insertRange(5, 5), 0);
    EXPECT_EQ(inside.ranges(), ranges({{0, 10}}));

    TimeRangeSet swallowing(ranges({{0, 1}, {5, 6}, {8, 9}, {40, 50}}));
    EXPECT_EQ(swallowing.insertRange(2, 30), 1);
    EXPECT_EQ(swallowing.ranges(), ranges({{0, 1}, {2, 30}, {40, 50}}));

    TimeRangeSet before(ranges({{10, 12}, {20, 30}}));
    EXPECT_EQ(before.insertRange(0, 5), 0);
    EXPECT_EQ(before.ranges(), ranges({{0, 5}, {10, 12}, {20, 30}}));
}

TEST(TimeRangeSet, TouchingIsAsymmetric) {
    // A span that starts where the previous one ends stays apart...
    TimeRangeSet after(ranges({{0, 10}}));
    EXPECT_EQ(after.insertRange(10, 20), 1);
    EXPECT_EQ(after.ranges(), ranges({{0, 10}, {10, 20}}));

    // ...one that ends where the next begins merges with it.
    TimeRangeSet before(ranges({{10, 20}}));
    EXPECT_EQ(before.insertRange(0, 10), 0);
    EXPECT_EQ(before.ranges(), ranges({{0, 20}}));
}

TEST(TimeRangeSet, InsertSearchStartsAtGivenIndex) {
    TimeRangeSet set(ranges({{0, 1}, {5, 6}}));
    EXPECT_EQ(set.insertRange(10, 11, 1), 2);
    EXPECT_EQ(set.insertRange(12, 13, 2), 3);
    // A start index past the end appends after the last range.
    EXPECT_EQ(set.insertRange(20, 21, 99), 4);
    EXPECT_EQ(set.ranges(), ranges({{0, 1}, {5, 6}, {10, 11}, {12, 13}, {20, 21}}));
}

TEST(TimeRangeSet, CoalesceMergesEveryReachedFollower) {
    TimeRangeSet set(ranges({{0, 10}, {10, 12}, {11, 30}, {31, 40}}));
    set.coalesce(0);
    EXPECT_EQ(set.ranges(), ranges({{0, 30}, {31, 40}}));
    set.coalesce(1);
    set.coalesce(7);
    EXPECT_EQ(set.ranges(), ranges({{0, 30}, {31, 40}}));
}

TEST(TimeRangeSet, ExtendRangeNeverShortensAndMergesOneFollower) {
    TimeRangeSet set(ranges({{0, 10}, {12, 15}, {16, 20}}));
    EXPECT_FALSE(set.extendRange(0, 10));
    EXPECT_FALSE(set.extendRange(0, 5));
    EXPECT_FALSE(set.extendRange(3, 50));
    EXPECT_FALSE(set.extendRange(-1, 50));
    EXPECT_EQ(set.ranges(), ranges({{0, 10}, {12, 15}, {16, 20}}));

    EXPECT_TRUE(set.extendRange(0, 11));
    EXPECT_EQ(set.ranges(), ranges({{0, 11}, {12, 15}, {16, 20}}));
    // Reaching the next range absorbs it (and only it).
    EXPECT_TRUE(set.extendRange(0, 13));
    EXPECT_EQ(set.ranges(), ranges({{0, 15}, {16, 20}}));
}

TEST(TimeRangeSet, ExtendRangeKeepsTheLaterEndOfTheAbsorbedRange) {
    TimeRangeSet set(ranges({{0, 10}, {12, 15}}));
    EXPECT_TRUE(set.extendRange(0, 13));
    EXPECT_EQ(set.ranges(), ranges({{0, 15}}));
    TimeRangeSet past(ranges({{0, 10}, {12, 15}}));
    EXPECT_TRUE(past.extendRange(0, 18));
    EXPECT_EQ(past.ranges(), ranges({{0, 18}}));
}

TEST(TimeRangeSet, EncodeDecodeRoundTrip) {
    TimeRangeSet set(ranges({{0, 1.25}, {3.5, 7}}));
    const CodecValue value = set.encode();
    const auto decoded = TimeRangeSet::decode(CodecReader(value, {}, CodecReader::Form::Binary));
    EXPECT_EQ(*decoded, set);
    EXPECT_EQ(decoded->totalLength(), 4.75);
}
