#include "waveform/LoudnessReducer.h"

#include "waveform/SamplesExtractor.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int fullScale = 32768;

// A 16-bit sample has only 32769 distinct magnitudes, so the logarithm is taken once per magnitude
// (with the same single-precision formula) instead of once per sample.
using DecibelTable = std::array<float, fullScale + 1>;

const DecibelTable& decibelTable() {
    static const DecibelTable table = [] {
        DecibelTable values;
        for (int magnitude = 0; magnitude <= fullScale; ++magnitude) {
            const float level = 20.0f * std::log10(float(magnitude) / float(fullScale));
            values[size_t(magnitude)] = std::clamp(level, SamplesExtractor::noiseFloor, 0.0f);
        }
        return values;
    }();
    return table;
}

// Sum of the loudness of a run of samples. Kept to one read batch at a time so that the single-
// precision sum stays accurate over long blocks. Eight running sums instead of one, so that each
// addition need not wait for the one before it.
float loudnessSum(const DecibelTable& table, const int16_t* samples, size_t count) {
    constexpr size_t lanes = 8;
    float sums[lanes] = {};
    size_t i = 0;
    for (; i + lanes <= count; i += lanes)
        for (size_t lane = 0; lane < lanes; ++lane)
            sums[lane] += table[size_t(std::abs(int(samples[i + lane])))];
    float sum = 0;
    for (; i < count; ++i)
        sum += table[size_t(std::abs(int(samples[i])))];
    for (float laneSum : sums)
        sum += laneSum;
    return sum;
}

} // namespace

LoudnessReducer::LoudnessReducer(int64_t samplesPerPixel)
    : _samplesPerPixel(std::max<int64_t>(samplesPerPixel, 1)) {}

void LoudnessReducer::append(const int16_t* samples, size_t count) {
    const DecibelTable& table = decibelTable();
    while (count > 0) {
        const size_t take =
            size_t(std::min<int64_t>(int64_t(count), _samplesPerPixel - _blockFill));
        _blockSum += loudnessSum(table, samples, take);
        _blockFill += int64_t(take);
        samples += take;
        count -= take;
        if (_blockFill == _samplesPerPixel)
            emitBlock();
    }
}

void LoudnessReducer::finish() {
    if (_blockFill > 0)
        emitBlock();
}

void LoudnessReducer::emitBlock() {
    const float mean = _blockSum / float(_blockFill);
    _outputSamples.push_back(mean);
    _sampleMax = std::max(_sampleMax, mean);
    _blockSum = 0;
    _blockFill = 0;
}

std::vector<float> LoudnessReducer::normalisedSamples() const {
    std::vector<float> normalised(_outputSamples.size());
    for (size_t i = 0; i < normalised.size(); ++i)
        normalised[i] = _outputSamples[i] / SamplesExtractor::noiseFloor;
    return normalised;
}
