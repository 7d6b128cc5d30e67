#pragma once
// Where the centre line of the waveform bars lies, as a fraction of half the image height from
// the middle (y grows upward, so `top` puts the centre on the bottom edge).

#include <optional>

enum class WaveformPosition { top = -1, middle = 0, bottom = 1 };

// None for any raw value other than -1, 0 and 1.
std::optional<WaveformPosition> waveformPositionFromRawValue(int rawValue);
