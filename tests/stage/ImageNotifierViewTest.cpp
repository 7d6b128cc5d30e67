#include "stage/ImageNotifierView.h"

#include "stage/NamedColors.h"

#include <QFile>
#include <QTemporaryDir>
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

TEST(ImageNotifierView, SvgSymbolFillsTheWindowInTheForeground) {
    QTemporaryDir dir;
    const QString path = dir.filePath("play.fill.svg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">)"
               R"(<path d="M1 0 L10 5 L1 10 Z" fill="#808080"/></svg>)");
    file.close();

    QWidget window;
    window.resize(600, 300);
    ImageNotifierView notifier(&window);
    window.show();
    ImageNotifierView* overlay = notifier.show(QIcon(path));
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->geometry(), window.rect());
    const QImage& image = overlay->image();
    const QColor foreground = *NamedColors::color(u"notifierForeground", window.palette());
    // The triangle, rendered 300 high, points right from x 180 to 450.
    EXPECT_EQ(image.pixelColor(250, 150), foreground);
    EXPECT_EQ(image.pixelColor(440, 150).alpha(), 255);
    EXPECT_EQ(image.pixelColor(100, 150).alpha(), 0);
    EXPECT_EQ(image.pixelColor(470, 150).alpha(), 0);
}
