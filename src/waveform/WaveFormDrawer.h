#pragma once
// Paints normalised loudness values (0 loud, 1 at the noise floor) as one vertical bar per value,
// symmetric about a horizontal centre line. Holds no state.

#include "waveform/WaveformConfiguration.h"

#include <QImage>
#include <optional>
#include <vector>

class WaveFormDrawer {
public:
    // `sampleMax` is the loudest reduced value in decibels. None when no image can be made: an
    // empty size, or a striped period below 1.
    std::optional<QImage> waveformImage(const std::vector<float>& samples,
                                        const WaveformConfiguration& configuration,
                                        float sampleMax) const;
};
