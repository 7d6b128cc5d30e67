// The drawer as the main window configures it (filled bars from the top, scale 1): its other
// styles, positions and decorations have no caller.
#include "waveform/WaveFormDrawer.h"

#include "waveform/WaveformConfiguration.h"

#include <gtest/gtest.h>

TEST(WaveFormDrawer, barsHangFromTheBottomEdgeInProportionToLoudness) {
    const QColor red(255, 0, 0);
    // Full scale reaches H / 1.5 = 100 points up; half loudness is half the length; silence still
    // draws a short bar.
    for (const auto& [value, max, top] :
         {std::tuple{0.0f, 0.0f, 50}, {0.5f, -25.0f, 100}, {1.0f, -50.0f, 148}}) {
        const QImage image =
            WaveFormDrawer()
                .waveformImage(std::vector<float>(20, value),
                               mainWindowWaveformConfiguration({20, 150}, red), max)
                .value();
        for (int row = 0; row < image.height(); ++row)
            ASSERT_EQ(image.pixelColor(10, row) == red, row >= top) << value << " row " << row;
    }
}
