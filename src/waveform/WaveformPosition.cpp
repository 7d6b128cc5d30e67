#include "waveform/WaveformPosition.h"

std::optional<WaveformPosition> waveformPositionFromRawValue(int rawValue) {
    switch (rawValue) {
    case -1:
        return WaveformPosition::top;
    case 0:
        return WaveformPosition::middle;
    case 1:
        return WaveformPosition::bottom;
    default:
        return std::nullopt;
    }
}
