#include "stage/ImageNotifierView.h"

#include "platform/SymbolImage.h"
#include "stage/NamedColors.h"

#include <gtest/gtest.h>

TEST(ImageNotifierView, SymbolIsScaledProportionallyToFillTheWindowInTheForeground) {
    QWidget window;
    window.resize(600, 300);
    ImageNotifierView notifier(&window);
    window.show();
    // A small square rendering, so that only proportional scaling puts it where it belongs.
    ImageNotifierView* overlay = notifier.show(symbolImage(QStringLiteral("play.fill"), {60, 60}));
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->geometry(), window.rect());
    const QImage& image = overlay->image();
    const QColor foreground = *NamedColors::color(u"notifierForeground", window.palette());
    // The triangle, scaled to 300 high in the middle, points right within x 150 to 450; the rest
    // of the symbol stays transparent.
    EXPECT_EQ(image.pixelColor(300, 150), foreground);
    EXPECT_EQ(image.pixelColor(100, 150).alpha(), 0);
    EXPECT_EQ(image.pixelColor(500, 150).alpha(), 0);
    EXPECT_EQ(image.pixelColor(300, 5).alpha(), 0);
}
