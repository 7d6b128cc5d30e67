#pragma once
// The parts of a track that have been heard: ranges in ascending order of start, none starting
// before the end of the one in front of it. A new span that starts exactly where the previous
// one ends stays separate; one that ends exactly where the next begins merges with it.

#include "model/CodecValue.h"
#include "model/TimeRange.h"

#include <memory>
#include <vector>

class TimeRangeSet {
public:
    TimeRangeSet() = default;
    explicit TimeRangeSet(std::vector<TimeRange> ranges);

    const std::vector<TimeRange>& ranges() const { return _ranges; }
    bool isEmpty() const { return _ranges.empty(); }
    void clear() { _ranges.clear(); }

    // Adds [start, end]; the search for its place begins at index `from`. Returns the index of
    // the range that now covers the span.
    int insertRange(double start, double end, int from = 0);
    // Merges into range i every following range that starts at or before its end.
    void coalesce(int i);
    // Moves the end of range i forward to t (never backward); false when nothing changed.
    bool extendRange(int i, double t);

    // Index of the first range with start <= t <= end.
    std::optional<int> indexContaining(double t) const;
    // Sum of the range lengths, in seconds.
    double totalLength() const;

    CodecValue encode() const;
    static std::shared_ptr<TimeRangeSet> decode(const CodecReader& reader);

    bool operator==(const TimeRangeSet&) const = default;

private:
    std::vector<TimeRange> _ranges;
};
