#include "stage/TextNotifierView.h"

#include "stage/NotifierFont.h"

#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QList<TextNotifierView*> overlays(const QWidget& window, const TextNotifierView& templateView) {
    QList<TextNotifierView*> found;
    for (QObject* child : window.children()) {
        auto* view = qobject_cast<TextNotifierView*>(child);
        if (view && view != &templateView)
            found.append(view);
    }
    return found;
}

double opacity(const QWidget* view) {
    return static_cast<QGraphicsOpacityEffect*>(view->graphicsEffect())->opacity();
}

} // namespace

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
    ASSERT_EQ(overlays(window, notifier), (QList<TextNotifierView*>{first, second, third}))
        << "stacked in order of showing, the newest last (on top)";
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(third->geometry(), window.rect());
    EXPECT_EQ(third->text(), "1½");
    EXPECT_GT(third->font().pointSizeF(), 100);

    first->fadeAnimation()->setCurrentTime(500);
    EXPECT_NEAR(opacity(first), 0.5, 1e-6);

    // Each overlay leaves when its own fade ends, not when another's does.
    second->fadeAnimation()->setCurrentTime(1000);
    QTRY_VERIFY(second.isNull());
    EXPECT_FALSE(first.isNull());
    EXPECT_FALSE(third.isNull());
}

TEST(TextNotifierView, OverlaysLeaveOnTheirOwn) {
    QWidget window;
    window.resize(400, 300);
    TextNotifierView notifier(&window, std::chrono::milliseconds(20));
    window.show();
    QPointer<TextNotifierView> a = notifier.show("9");
    QPointer<TextNotifierView> b = notifier.show("10");
    QTRY_VERIFY(a.isNull() && b.isNull());
    EXPECT_TRUE(overlays(window, notifier).isEmpty());

    TextNotifierView orphan;
    EXPECT_EQ(orphan.show("10"), nullptr) << "nothing to cover";
}
