#pragma once
// One span [start, end] of a track in seconds; empty (start == end) when playing begins at a point.

struct TimeRange {
    double start = 0.0;
    double end = 0.0;

    bool operator==(const TimeRange&) const = default;
};
