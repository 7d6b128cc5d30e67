// The live displays: the times counted from the last zero, "--:--" without an entry, and the time
// font fitted from the window's first frame.

#include "shell/DisplayController.h"

#include "MainViewFixture.h"

using DisplayControllerTest = MainViewFixture;

TEST_F(DisplayControllerTest, timesCountFromTheLastZero) {
    openSession({"blue.wav"}, 100.0, 0);
    entry(0)->_cachedDuration = 180.0;
    entry(0)->zeros = {30.0, 90.0};
    player().setCurrentTime(95.5);
    EXPECT_EQ(view->timeSinceZeroText->text(), QStringLiteral(" 0:05"));
    EXPECT_EQ(view->timeRemainingText->text(), QStringLiteral(" 1:25")) << "from the same zero";
    controller->setCurrentEntry(-1);
    EXPECT_EQ(view->timeSinceZeroText->text(), QStringLiteral("--:--"));
}

// The first frame of the window once showed the times at a fraction of their size.
TEST_F(DisplayControllerTest, theTimeFontIsFittedAsSoonAsTheLayoutSizesTheField) {
    view->resize(1280, 720);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QLabel& field = *view->timeSinceZeroText;
    EXPECT_DOUBLE_EQ(field.font().pointSizeF(),
                     DisplayController::fittedTimeFontSize(QSizeF(field.size())));
}
