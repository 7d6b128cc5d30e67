// The overlays that flash a symbol or a number over the whole window.
#include "platform/SymbolImage.h"
#include "stage/ImageNotifierView.h"
#include "stage/NamedColors.h"
#include "stage/NotifierFont.h"
#include "stage/TextNotifierView.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTest>
#include <gtest/gtest.h>

TEST(NotifierView, EachShowFadesItsOwnOverlayNewestOnTop) {
    QWidget window;
    window.resize(800, 500);
    TextNotifierView notifier(&window);
    window.show();
    EXPECT_FALSE(notifier.isVisible()) << "the template itself never shows";
    QPointer<TextNotifierView> first = notifier.show("½");
    QPointer<TextNotifierView> second = notifier.show("1");
    QPointer<TextNotifierView> third = notifier.show("1½");
    ASSERT_EQ(window.findChildren<TextNotifierView*>(Qt::FindDirectChildrenOnly),
              (QList<TextNotifierView*>{&notifier, first, second, third}))
        << "stacked in order of showing, the newest last (on top)";
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(third->geometry(), window.rect());

    first->fadeAnimation()->setCurrentTime(500);
    EXPECT_NEAR(static_cast<QGraphicsOpacityEffect*>(first->graphicsEffect())->opacity(), 0.5,
                1e-6);
    // Each overlay leaves when its own fade ends, not when another's does.
    second->fadeAnimation()->setCurrentTime(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }));
    EXPECT_FALSE(first.isNull() || third.isNull());
}

TEST(NotifierView, TheTextFillsTheWindowByTheTighterSide) {
    // In a wide window the height limits, in a narrow one the width.
    for (const QSizeF box : {QSizeF(1366, 768), QSizeF(300, 768)}) {
        const QFontMetricsF fitted(NotifierFont::fitted("10", box));
        const double widthShare = fitted.horizontalAdvance("10") / (box.width() - 5);
        const double heightShare = fitted.height() * 0.77 / (box.height() - 5);
        // Glyph hinting makes large sizes a few percent off the linear scale.
        EXPECT_NEAR(std::max(widthShare, heightShare), 1.0, 0.04) << box.width();
        EXPECT_LT(std::min(widthShare, heightShare), 0.96) << box.width();
    }
    // Nothing to measure, or no room: a tiny font rather than an infinite or negative one.
    EXPECT_DOUBLE_EQ(NotifierFont::fittedSize({0, 0}, {300, 200}), 1.0);
    EXPECT_DOUBLE_EQ(NotifierFont::fittedSize({15, 14}, {3, 3}), 1.0);
}

TEST(NotifierView, TheSymbolIsScaledProportionallyInColoursThatContrastInLightAndDark) {
    QWidget window;
    window.resize(600, 300);
    ImageNotifierView notifier(&window);
    window.show();
    // A small square rendering, so that only proportional scaling puts it where it belongs.
    ImageNotifierView* overlay = notifier.show(symbolImage(QStringLiteral("play.fill"), {60, 60}));
    ASSERT_NE(overlay, nullptr);
    const QImage& image = overlay->image();
    // The triangle, 300 high in the middle, points right within x 150 to 450.
    EXPECT_EQ(image.pixelColor(300, 150),
              *NamedColors::color(u"notifierForeground", window.palette()));
    for (const QPoint transparent : {QPoint(100, 150), QPoint(500, 150), QPoint(300, 5)})
        EXPECT_EQ(image.pixelColor(transparent).alpha(), 0);

    // The background follows the appearance, so the flash does not glare in a dark room.
    for (const QPalette& palette :
         {QPalette(Qt::black, QColor(240, 240, 240)), QPalette(Qt::white, QColor(30, 30, 30))}) {
        const auto background = NamedColors::color(u"notifierBackground", palette);
        const auto foreground = NamedColors::color(u"notifierForeground", palette);
        ASSERT_TRUE(background && foreground);
        EXPECT_GT(std::abs(background->lightness() - foreground->lightness()), 200);
        EXPECT_EQ(background->lightness() < 128, palette.window().color().lightness() < 128);
    }
}
