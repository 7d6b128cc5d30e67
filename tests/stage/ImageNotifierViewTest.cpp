#include "stage/ImageNotifierView.h"

#include "platform/SymbolImage.h"
#include "stage/NamedColors.h"

#include <gtest/gtest.h>

TEST(ImageNotifierView, ShapeIsScaledProportionallyAndTinted) {
    // A 50 × 50 blue square, scaled into 200 × 100, becomes 100 × 100 centred at x 50 … 150.
    QImage square(50, 50, QImage::Format_ARGB32);
    square.fill(Qt::blue);
    const QImage result = ImageNotifierView::tinted(square, {200, 100}, Qt::darkGreen);
    EXPECT_EQ(result.size(), QSize(200, 100));
    EXPECT_EQ(result.pixelColor(55, 5), QColor(Qt::darkGreen));
    EXPECT_EQ(result.pixelColor(45, 50).alpha(), 0);
    EXPECT_EQ(result.pixelColor(155, 50).alpha(), 0);

    // Transparent parts of the symbol stay transparent.
    QImage ring(40, 40, QImage::Format_ARGB32);
    ring.fill(Qt::transparent);
    ring.setPixelColor(0, 0, Qt::red);
    const QImage tintedRing = ImageNotifierView::tinted(ring, {40, 40}, Qt::black);
    EXPECT_EQ(tintedRing.pixelColor(20, 20).alpha(), 0);
    EXPECT_EQ(tintedRing.pixelColor(0, 0), QColor(Qt::black));
}

TEST(ImageNotifierView, SymbolFillsTheWindowInTheForeground) {
    QWidget window;
    window.resize(600, 300);
    ImageNotifierView notifier(&window);
    window.show();
    ImageNotifierView* overlay =
        notifier.show(symbolImage(QStringLiteral("play.fill"), window.size()));
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->geometry(), window.rect());
    const QImage& image = overlay->image();
    const QColor foreground = *NamedColors::color(u"notifierForeground", window.palette());
    // The triangle, rendered 300 high in the middle, points right within x 150 to 450.
    EXPECT_EQ(image.pixelColor(300, 150), foreground);
    EXPECT_EQ(image.pixelColor(100, 150).alpha(), 0);
    EXPECT_EQ(image.pixelColor(500, 150).alpha(), 0);
    EXPECT_EQ(image.pixelColor(300, 5).alpha(), 0);
}
