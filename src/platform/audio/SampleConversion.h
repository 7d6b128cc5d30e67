#pragma once
// Float samples (full scale +-1) to 16-bit, for decoders whose library cannot give 16-bit itself
// at the right level.

#include <algorithm>
#include <cstdint>

// Rounds half away from zero with plain arithmetic: lrint is a libm call per sample, which cost
// the waveform reading about 40 % of its time; this form vectorises.
inline int16_t toInt16(float sample) {
    const float scaled = std::clamp(sample * 32768.0f, -32768.0f, 32767.0f);
    return int16_t(scaled + (scaled < 0.0f ? -0.5f : 0.5f));
}
