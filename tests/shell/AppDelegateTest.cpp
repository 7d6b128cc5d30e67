// Files from outside and quitting: audio joins the top of the list as one undoable "add entries",
// a session is opened, anything else is reported, and quitting waits for the save of a dirty
// session. (A second start handing its files over is driven end to end in tests/e2e.)

#include "shell/AppDelegate.h"

#include "MainViewFixture.h"
#include "table/EntryCommands.h"

#include <QAction>
#include <QSignalSpy>

class AppDelegateTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        delegate.setMainViewController(controller.get());
        delegate.applicationDidBecomeActive();
    }
    AppDelegate delegate;
};

TEST_F(AppDelegateTest, audioJoinsTheTopAsOneUndoableEditSessionsOpenAndOtherFilesAreReported) {
    const QUrl url = session("Dance.varlin", {"a.wav", "b.wav"}, 1.0, 0);
    ASSERT_TRUE(delegate.openFile(url.toLocalFile()));
    ASSERT_EQ(controller->sessions().sessionURL(), url);

    for (const char* name : {"Song.mp3", "Tone.wav"}) {
        const QUrl song = track(name, 1.0);
        QSignalSpy added(&controller->entryCommands(), &EntryCommands::addingFinished);
        ASSERT_TRUE(delegate.openFile(song.toLocalFile()));
        ASSERT_TRUE(!controller->entryCommands().isAdding() || added.wait(10000));
        EXPECT_EQ(playlist().allEntries[0]->url(), song);
    }
    EXPECT_EQ(controller->undoAction()->text(), QStringLiteral("Undo add entries"));
    controller->undoAction()->trigger();
    EXPECT_EQ(playlist().allEntries.size(), 3u);

    // Neither audio nor a session: said in one line, and the session stays as it was.
    QSignalSpy status(controller.get(), &MainViewController::statusMessage);
    ASSERT_TRUE(delegate.openFile(writeFile("notes.txt", "a cue sheet\n")));
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0][0].toString(),
              QStringLiteral("notes.txt: not a Varlin session and not audio Varlin can play"));
    EXPECT_EQ(controller->sessions().sessionURL(), url);
    EXPECT_EQ(playlist().allEntries.size(), 3u);
}

TEST_F(AppDelegateTest, quittingStopsTheMusicAndWaitsForTheSaveOfADirtySession) {
    const QUrl url = openSession({"a.wav", "b.wav"}, 2.0, 0);
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    player().play();
    render(0.5);
    playlist().allEntries[1]->isCheckmarked = true;
    playlist().dirty = true;
    delegate.requestQuit();
    EXPECT_EQ(terminating.size(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(terminating.size(), 1) << "the save ended, so the request quits";
    EXPECT_FALSE(player().isPlaying());
    EXPECT_FALSE(playlist().dirty);
    const auto saved = Playlist::open(url, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->allEntries[1]->isCheckmarked);
    EXPECT_NEAR(saved->currentTime, 0.5, 0.01);
}
