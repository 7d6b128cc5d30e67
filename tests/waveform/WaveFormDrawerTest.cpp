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

// Rows of one pixel column (counted from the top of the image) that hold the bar colour.
std::pair<int, int> barRows(const QImage& image, int column) {
    int first = -1;
    int last = -1;
    for (int row = 0; row < image.height(); ++row) {
        if (image.pixelColor(column, row) == red) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    return {first, last};
}

bool onlyBackground(const QImage& image) {
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if (image.pixelColor(column, row) != background)
                return false;
    return true;
}

} // namespace

TEST(WaveFormDrawer, barRowsForEachPositionLoudnessPaddingAndSilence) {
    const WaveFormDrawer drawer;
    const std::vector<float> loud(20, 0.0f);
    // top: centre on the bottom edge, full scale reaches H / 1.5 = 100 points up.
    const auto top = drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::top), 0.0f);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->size(), QSize(20, 150));
    EXPECT_EQ(barRows(*top, 10), std::make_pair(50, 149));
    EXPECT_EQ(top->pixelColor(10, 49), background);

    // middle: half-length H / 2.5 = 60 around y = 75.
    const auto middle = drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::middle), 0.0f);
    EXPECT_EQ(barRows(*middle, 10), std::make_pair(15, 134));

    // bottom: centre on the top edge.
    const auto bottom = drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::bottom), 0.0f);
    EXPECT_EQ(barRows(*bottom, 10), std::make_pair(0, 99));

    // Half loudness is half the length; a padding factor replaces the default divisor.
    std::vector<float> half(20, 0.5f);
    EXPECT_EQ(
        barRows(*drawer.waveformImage(
                    half, configuration(WaveformStyle::filled(), WaveformPosition::top), -25.0f),
                10),
        std::make_pair(100, 149));
    WaveformConfiguration padded = configuration(WaveformStyle::filled(), WaveformPosition::top);
    padded.paddingFactor = 3.0;
    EXPECT_EQ(barRows(*drawer.waveformImage(loud, padded, 0.0f), 10), std::make_pair(100, 149));

    // Silence still draws a short bar.
    const std::vector<float> silence(20, 1.0f);
    EXPECT_EQ(barRows(*drawer.waveformImage(
                          silence, configuration(WaveformStyle::filled(), WaveformPosition::middle),
                          -50.0f),
                      5),
              std::make_pair(73, 76));
}

TEST(WaveFormDrawer, emptyListDrawsOnlyTheBackgroundAndDecorations) {
    const WaveFormDrawer drawer;
    const auto plain = drawer.waveformImage(
        {}, configuration(WaveformStyle::gradient(), WaveformPosition::top), -50.0f);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(onlyBackground(*plain));

    WaveformConfiguration decorated =
        configuration(WaveformStyle::filled(), WaveformPosition::middle, {40, 30});
    decorated.borderWidth = 2.0;
    decorated.borderColor = QColor(0, 255, 0);
    decorated.drawCentraLine = true;
    decorated.centralLineColor = QColor(255, 255, 0);
    const auto image = drawer.waveformImage({}, decorated, 0.0f);
    ASSERT_TRUE(image);
    // The border straddles the edges: one pixel of it lies inside.
    EXPECT_EQ(image->pixelColor(0, 15), QColor(0, 255, 0));
    EXPECT_EQ(image->pixelColor(20, 0), QColor(0, 255, 0));
    EXPECT_EQ(image->pixelColor(1, 15), background);
    // The central line is 2 wide, centred 2 left of the middle: columns 17 and 18.
    EXPECT_EQ(image->pixelColor(17, 15), QColor(255, 255, 0));
    EXPECT_EQ(image->pixelColor(18, 15), QColor(255, 255, 0));
    EXPECT_EQ(image->pixelColor(19, 15), background);
}

TEST(WaveFormDrawer, stripesAndScaleSpaceTheBars) {
    const WaveFormDrawer drawer;
    const std::vector<float> loud(40, 0.0f);
    // Every third point only; bars 1 wide centred on integer x cover half of two columns.
    const auto striped = drawer.waveformImage(
        loud, configuration(WaveformStyle::striped(3), WaveformPosition::middle, {40, 150}), 0.0f);
    ASSERT_TRUE(striped);
    const QColor halfRed = striped->pixelColor(5, 75);
    EXPECT_EQ(halfRed.red(), (255 + 0) / 2 + 1) << "a bar at x = 6 covers half of column 5";
    EXPECT_EQ(striped->pixelColor(6, 75), halfRed);
    EXPECT_EQ(striped->pixelColor(7, 75), background);

    // Scale 2: forty values fit in twenty points and merge into one solid area.
    const auto dense = drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::middle, {40, 150}, 2.0),
        0.0f);
    ASSERT_TRUE(dense);
    EXPECT_EQ(dense->pixelColor(18, 75), red);
    EXPECT_EQ(dense->pixelColor(20, 75), background);
}

TEST(WaveFormDrawer, gradientRunsFromTheColourToItsHighlight) {
    const std::vector<float> loud(20, 0.0f);
    const auto image = WaveFormDrawer().waveformImage(
        loud, configuration(WaveformStyle::gradient(), WaveformPosition::middle), 0.0f);
    ASSERT_TRUE(image);
    // y grows upward: the colour at the bar's lower end, pale red at its upper end.
    const QColor low = image->pixelColor(10, 133);
    const QColor high = image->pixelColor(10, 16);
    EXPECT_EQ(low.red(), 255);
    EXPECT_LT(low.green(), 10);
    EXPECT_EQ(high.red(), 255);
    EXPECT_GT(high.green(), 118);
    EXPECT_EQ(image->pixelColor(10, 10), background);
}

TEST(WaveFormDrawer, refusesImagesItCannotMakeAndPositionsItCannotRead) {
    const WaveFormDrawer drawer;
    const std::vector<float> loud(10, 0.0f);
    EXPECT_FALSE(drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::top, {0, 100}), 0.0f));
    EXPECT_FALSE(drawer.waveformImage(
        loud, configuration(WaveformStyle::filled(), WaveformPosition::top, {100, 0.5}), 0.0f));

    DiagnosticCapture capture;
    EXPECT_FALSE(drawer.waveformImage(
        loud, configuration(WaveformStyle::striped(0), WaveformPosition::top), 0.0f));
    ASSERT_EQ(capture.lines().size(), 1);
    EXPECT_TRUE(capture.lines()[0].contains("period"));

    // Only the three stored raw values make a position.
    EXPECT_EQ(waveformPositionFromRawValue(-1), WaveformPosition::top);
    EXPECT_EQ(waveformPositionFromRawValue(1), WaveformPosition::bottom);
    EXPECT_FALSE(waveformPositionFromRawValue(2));
}
