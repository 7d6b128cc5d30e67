// The overlays that flash a symbol or a number over the whole window. The fitted font size and
// the colours of light and dark appearances have no test of their own.
#include "platform/SymbolImage.h"
#include "stage/ImageNotifierView.h"
#include "stage/NamedColors.h"
#include "stage/TextNotifierView.h"

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

TEST(NotifierView, TheSymbolIsScaledProportionallyToTheWindow) {
    QWidget window;
    window.resize(600, 300);
    ImageNotifierView notifier(&window);
    window.show();
    // A small square rendering, so that only proportional scaling puts it where it belongs.
    ImageNotifierView* overlay = notifier.show(symbolImage(QStringLiteral("play.fill"), {60, 60}));
    ASSERT_NE(overlay, nullptr);
    // The triangle, 300 high in the middle, points right within x 150 to 450.
    EXPECT_EQ(overlay->image().pixelColor(300, 150),
              *NamedColors::color(u"notifierForeground", window.palette()));
    for (const QPoint transparent : {QPoint(100, 150), QPoint(500, 150), QPoint(300, 5)})
        EXPECT_EQ(overlay->image().pixelColor(transparent).alpha(), 0);
}
