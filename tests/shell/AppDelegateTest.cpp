// Quitting waits for the save of a dirty session. (Files from outside, audio added and a second
// start handing its files over, are driven end to end in tests/e2e/newcomer.py.)

#include "shell/AppDelegate.h"

#include "MainViewFixture.h"

class AppDelegateTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        delegate.setMainViewController(controller.get());
        delegate.applicationDidBecomeActive();
    }
    AppDelegate delegate;
};

TEST_F(AppDelegateTest, quittingStopsTheMusicAndWaitsForTheSaveOfADirtySession) {
    const QUrl url = openSession({"a.wav", "b.wav"}, 2.0, 0);
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    player().play();
    render(0.5);
    entry(1)->isCheckmarked = true;
    playlist().dirty = true;
    delegate.requestQuit();
    EXPECT_EQ(terminating.size(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(terminating.size(), 1) << "the save ended, so the request quits";
    EXPECT_FALSE(player().isPlaying());
    const auto saved = Playlist::open(url, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->allEntries[1]->isCheckmarked);
    EXPECT_NEAR(saved->currentTime, 0.5, 0.01);
}
