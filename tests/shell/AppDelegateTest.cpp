// Files from outside and quitting: audio joins the top of the list as an undoable "add entries",
// a session is opened, and quitting waits for the save of a dirty session. (A second start handing
// its files over, and a file that is neither, are driven end to end in tests/e2e/newcomer.py.)

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

TEST_F(AppDelegateTest, audioJoinsTheTopAsAnUndoableEditAndSessionsOpen) {
    const QUrl url = session("Dance.varlin", {"a.wav", "b.wav"}, 1.0, 0);
    ASSERT_TRUE(delegate.openFile(url.toLocalFile()));
    ASSERT_EQ(sessions().sessionURL(), url);
    const QUrl song = track("Song.mp3", 1.0);
    QSignalSpy added(&controller->entryCommands(), &EntryCommands::addingFinished);
    ASSERT_TRUE(delegate.openFile(song.toLocalFile()));
    ASSERT_TRUE(!controller->entryCommands().isAdding() || added.wait(10000));
    EXPECT_EQ(entry(0)->url(), song);
    EXPECT_EQ(controller->undoAction()->text(), QStringLiteral("Undo add entries"));
    controller->undoAction()->trigger();
    EXPECT_EQ(playlist().allEntries.size(), 2u);
}

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
