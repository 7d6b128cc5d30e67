#include "model/TimeRangeSet.h"

#include <algorithm>

TimeRangeSet::TimeRangeSet(std::vector<TimeRange> ranges) : _ranges(std::move(ranges)) {}

int TimeRangeSet::insertRange(double start, double end, int from) {
    const int count = int(_ranges.size());
    int i = std::clamp(from, 0, count);
    while (i < count && _ranges[i].start < start)
        ++i;
    // Only a predecessor that reaches strictly past the new start absorbs it.
    if (i > 0 && _ranges[i - 1].end > start) {
        _ranges[i - 1].end = std::max(_ranges[i - 1].end, end);
        coalesce(i - 1);
        return i - 1;
    }
    _ranges.insert(_ranges.begin() + i, TimeRange{start, end});
    coalesce(i);
    return i;
}

void TimeRangeSet::coalesce(int i) {
    if (i < 0)
        return;
    while (i + 1 < int(_ranges.size()) && _ranges[i + 1].start <= _ranges[i].end) {
        _ranges[i].end = std::max(_ranges[i].end, _ranges[i + 1].end);
        _ranges.erase(_ranges.begin() + i + 1);
    }
}

bool TimeRangeSet::extendRange(int i, double t) {
    if (i < 0 || i >= int(_ranges.size()))
        return false;
    if (!(_ranges[i].end < t))
        return false;
    _ranges[i].end = t;
    if (i + 1 < int(_ranges.size()) && _ranges[i + 1].start <= t) {
        _ranges[i].end = std::max(_ranges[i + 1].end, t);
        _ranges.erase(_ranges.begin() + i + 1);
    }
    return true;
}

std::optional<int> TimeRangeSet::indexContaining(double t) const {
    for (int i = 0; i < int(_ranges.size()); ++i)
        if (_ranges[i].start <= t && t <= _ranges[i].end)
            return i;
    return std::nullopt;
}

double TimeRangeSet::totalLength() const {
    double sum = 0.0;
    for (const TimeRange& range : _ranges)
        sum += range.end - range.start;
    return sum;
}

CodecValue TimeRangeSet::encode() const {
    CodecValue::Array ranges;
    ranges.reserve(_ranges.size());
    for (const TimeRange& range : _ranges)
        ranges.push_back(CodecValue::dict(
            {{"start", CodecValue::real(range.start)}, {"end", CodecValue::real(range.end)}}));
    return CodecValue::dict({{"ranges", CodecValue::array(std::move(ranges))}});
}

std::shared_ptr<TimeRangeSet> TimeRangeSet::decode(const CodecReader& reader) {
    auto set = std::make_shared<TimeRangeSet>();
    for (const CodecReader& range : reader.requiredDicts("ranges", "range"))
        set->_ranges.push_back({range.required<double>("start"), range.required<double>("end")});
    return set;
}
