#include "stage/TextNotifierView.h"

#include "stage/NotifierFont.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTest>
#include <gtest/gtest.h>

TEST(NotifierFont, TenFillsTheWindowInTheRealFaceByTheTighterSide) {
    const QFont base = NotifierFont::base();
    EXPECT_TRUE(base.bold());
    const QFontMetricsF at12(base);
    EXPECT_DOUBLE_EQ(at12.horizontalAdvance("10"), at12.horizontalAdvance("88"))
        << "digits share one width";

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

TEST(TextNotifierView, EachShowFadesItsOwnOverlayNewestOnTop) {
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
    EXPECT_EQ(third->text(), "1½");
    EXPECT_GT(third->font().pointSizeF(), 100);

    first->fadeAnimation()->setCurrentTime(500);
    EXPECT_NEAR(static_cast<QGraphicsOpacityEffect*>(first->graphicsEffect())->opacity(), 0.5,
                1e-6);

    // Each overlay leaves when its own fade ends, not when another's does.
    second->fadeAnimation()->setCurrentTime(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }));
    EXPECT_FALSE(first.isNull());
    EXPECT_FALSE(third.isNull());

    TextNotifierView orphan;
    EXPECT_EQ(orphan.show("10"), nullptr) << "nothing to cover";
}
