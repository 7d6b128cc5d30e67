#include "waveform/WaveFormDrawer.h"

#include "platform/Diagnostics.h"
#include "waveform/WaveformPosition.h"

#include <gtest/gtest.h>

namespace {

const QColor red(255, 0, 0);
const QColor background(0, 0, 255);

WaveformConfiguration configuration(WaveformStyle style, WaveformPosition position,
                                    QSizeF size = {20, 150}, double scale = 1.0) {
    return WaveformConfiguration(size, red, background, style, position, scale, 0.0, red,
                                 std::nullopt);
}

// The image, or an exception the test reports when there is none.
QImage draw(const std::vector<float>& values, const WaveformConfiguration& config, float max) {
    return WaveFormDrawer().waveformImage(values, config, max).value();
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

TEST(WaveFormDrawer, barRowsForEachPositionLoudnessPaddingAndSilence) {
    const auto rows = [&](float value, WaveformPosition position, float max, double padding = 0) {
        WaveformConfiguration config = configuration(WaveformStyle::filled(), position);
        if (padding > 0.0)
            config.paddingFactor = padding;
        return barRows(draw(std::vector<float>(20, value), config, max), 10);
    };
    // top: centre on the bottom edge, full scale reaches H / 1.5 = 100 points up.
    EXPECT_EQ(rows(0.0f, WaveformPosition::top, 0.0f), std::make_pair(50, 149));
    // middle: half-length H / 2.5 = 60 around y = 75.
    EXPECT_EQ(rows(0.0f, WaveformPosition::middle, 0.0f), std::make_pair(15, 134));
    EXPECT_EQ(rows(0.0f, WaveformPosition::bottom, 0.0f), std::make_pair(0, 99));
    // Half loudness is half the length; a padding factor replaces the default divisor.
    EXPECT_EQ(rows(0.5f, WaveformPosition::top, -25.0f), std::make_pair(100, 149));
    EXPECT_EQ(rows(0.0f, WaveformPosition::top, 0.0f, 3.0), std::make_pair(100, 149));
    // Silence still draws a short bar.
    EXPECT_EQ(rows(1.0f, WaveformPosition::middle, -50.0f), std::make_pair(73, 76));
}

TEST(WaveFormDrawer, decorationsStripesScaleAndGradient) {
    const QImage plain =
        draw({}, configuration(WaveformStyle::gradient(), WaveformPosition::top), -50.0f);
    QImage blank(plain.size(), plain.format());
    blank.fill(background);
    EXPECT_EQ(plain, blank) << "nothing but the background without values";

    WaveformConfiguration decorated =
        configuration(WaveformStyle::filled(), WaveformPosition::middle, {40, 30});
    decorated.borderWidth = 2.0;
    decorated.borderColor = QColor(0, 255, 0);
    decorated.drawCentraLine = true;
    decorated.centralLineColor = QColor(255, 255, 0);
    const QImage framed = draw({}, decorated, 0.0f);
    // The border straddles the edges: one pixel of it lies inside. The central line is 2 wide,
    // centred 2 left of the middle: columns 17 and 18.
    EXPECT_EQ(framed.pixelColor(0, 15), QColor(0, 255, 0));
    EXPECT_EQ(framed.pixelColor(1, 15), background);
    EXPECT_EQ(framed.pixelColor(17, 15), QColor(255, 255, 0));
    EXPECT_EQ(framed.pixelColor(18, 15), QColor(255, 255, 0));
    EXPECT_EQ(framed.pixelColor(19, 15), background);

    // Every third point only; bars 1 wide centred on integer x cover half of two columns.
    const std::vector<float> loud(40, 0.0f);
    const QImage striped = draw(
        loud, configuration(WaveformStyle::striped(3), WaveformPosition::middle, {40, 150}), 0);
    EXPECT_EQ(striped.pixelColor(5, 75).red(), 128) << "a bar at x = 6 covers half of column 5";
    EXPECT_EQ(striped.pixelColor(6, 75), striped.pixelColor(5, 75));
    EXPECT_EQ(striped.pixelColor(7, 75), background);

    // Scale 2: forty values fit in twenty points and merge into one solid area.
    const QImage dense = draw(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::middle, {40, 150}, 2.0), 0);
    EXPECT_EQ(dense.pixelColor(18, 75), red);
    EXPECT_EQ(dense.pixelColor(20, 75), background);

    // y grows upward: the colour at the bar's lower end, pale red at its upper end.
    const QImage shaded =
        draw(std::vector<float>(20, 0.0f),
             configuration(WaveformStyle::gradient(), WaveformPosition::middle), 0);
    EXPECT_EQ(shaded.pixelColor(10, 133).red(), 255);
    EXPECT_LT(shaded.pixelColor(10, 133).green(), 10);
    EXPECT_GT(shaded.pixelColor(10, 16).green(), 118);
}

TEST(WaveFormDrawer, refusesImagesItCannotMakeAndPositionsItCannotRead) {
    const WaveFormDrawer drawer;
    const std::vector<float> loud(10, 0.0f);
    DiagnosticCapture capture;
    for (const auto& [size, style] : {std::pair{QSizeF(0, 100), WaveformStyle::filled()},
                                      std::pair{QSizeF(100, 0.5), WaveformStyle::filled()},
                                      std::pair{QSizeF(20, 150), WaveformStyle::striped(0)}})
        EXPECT_FALSE(
            drawer.waveformImage(loud, configuration(style, WaveformPosition::top, size), 0.0f));
    EXPECT_TRUE(capture.lines().size() == 1 && capture.lines()[0].contains("period"));

    // Only the three stored raw values make a position.
    EXPECT_EQ(waveformPositionFromRawValue(1), WaveformPosition::bottom);
    EXPECT_FALSE(waveformPositionFromRawValue(2));
}
