// The overlays that flash a number over the whole window. The symbol's overlay, the fitted font
// size and the colours of light and dark appearances have no test of their own.
#include "stage/TextNotifierView.h"

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

    // Each overlay leaves when its own fade ends, not when another's does.
    second->fadeAnimation()->setCurrentTime(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }));
    EXPECT_FALSE(first.isNull() || third.isNull());
}
