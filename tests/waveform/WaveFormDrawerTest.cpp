// The drawer as the main window configures it (filled bars from the top, scale 1): its other
// styles, positions and decorations have no caller.
#include "waveform/WaveFormDrawer.h"

#include "waveform/WaveformConfiguration.h"

#include <gtest/gtest.h>

namespace {

const QColor red(255, 0, 0);

QImage draw(const std::vector<float>& values, float max, QSizeF size = {20, 150}) {
    return WaveFormDrawer()
        .waveformImage(values, mainWindowWaveformConfiguration(size, red), max)
        .value();
}

// Rows of one pixel column (counted from the top of the image) that hold the bar colour.
std::pair<int, int> barRows(const QImage& image, int column) {
    std::pair<int, int> rows{-1, -1};
    for (int row = 0; row < image.height(); ++row)
        if (image.pixelColor(column, row) == red)
            rows = {rows.first < 0 ? row : rows.first, row};
    return rows;
}

} // namespace

TEST(WaveFormDrawer, barsHangFromTheBottomEdgeInProportionToLoudness) {
    // Full scale reaches H / 1.5 = 100 points up; half loudness is half the length.
    EXPECT_EQ(barRows(draw(std::vector<float>(20, 0.0f), 0.0f), 10), std::make_pair(50, 149));
    EXPECT_EQ(barRows(draw(std::vector<float>(20, 0.5f), -25.0f), 10), std::make_pair(100, 149));
    // Silence still draws a short bar.
    EXPECT_EQ(barRows(draw(std::vector<float>(20, 1.0f), -50.0f), 10), std::make_pair(148, 149));
    const QImage empty = draw({}, -50.0f);
    EXPECT_EQ(barRows(empty, 10), std::make_pair(-1, -1)) << "no bars without values";
}

TEST(WaveFormDrawer, refusesImagesItCannotMake) {
    for (const QSizeF size : {QSizeF(0, 100), QSizeF(100, 0.5)})
        EXPECT_FALSE(WaveFormDrawer().waveformImage(
            std::vector<float>(10, 0.0f), mainWindowWaveformConfiguration(size, red), 0.0f));
}
