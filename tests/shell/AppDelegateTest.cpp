// Files from outside and quitting: a second start hands its files over, audio joins the top of
// the list as one undoable "add entries", a session is opened, anything else is reported, and
// quitting waits for the save of a dirty session.

#include "shell/AppDelegate.h"

#include "MainViewFixture.h"
#include "platform/Diagnostics.h"
#include "shell/InstanceChannel.h"
#include "table/EntryCommands.h"

#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QUuid>

class AppDelegateTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        delegate.setMainViewController(controller.get());
        delegate.applicationDidBecomeActive();
    }
    AppDelegate delegate;
};

TEST_F(AppDelegateTest, aSecondStartHandsItsFilesToTheRunningOne) {
    const QString name =
        QStringLiteral("varlin-test-") + QUuid::createUuid().toString(QUuid::Id128);
    EXPECT_FALSE(InstanceChannel::handOver(name, {"/nothing/listens.varlin"}));

    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &InstanceChannel::filesReceived);
    const QStringList paths{"/music/Blue Waltz.mp3", "/sessions/Dance ü.varlin"};
    ASSERT_TRUE(InstanceChannel::handOver(name, paths));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.first().first().toStringList(), paths);
}

TEST_F(AppDelegateTest, audioJoinsTheTopAsOneUndoableEditSessionsOpenAndOtherFilesAreReported) {
    const QUrl url = session("Dance.varlin", {"a.wav", "b.wav"}, 1.0, 0);
    ASSERT_TRUE(delegate.openFile(url.toLocalFile()));
    ASSERT_EQ(controller->sessions().sessionURL(), url);

    for (const char* name : {"Song.mp3", "Tone.wav"}) {
        const QUrl song = track(name, 1.0);
        QSignalSpy added(&controller->entryCommands(), &EntryCommands::addingFinished);
        ASSERT_TRUE(delegate.openFile(song.toLocalFile()));
        if (controller->entryCommands().isAdding()) {
            ASSERT_TRUE(added.wait(10000));
        }
        EXPECT_EQ(playlist().allEntries[0]->url(), song);
    }
    ASSERT_EQ(playlist().allEntries.size(), 4u);
    EXPECT_EQ(controller->undoAction()->text(), QStringLiteral("Undo add entries"));
    controller->undoAction()->trigger();
    EXPECT_EQ(playlist().allEntries.size(), 3u);

    // Neither audio nor a session: said in one line, and the session stays as it was.
    QFile notes(dir.filePath("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("a cue sheet\n") > 0);
    notes.close();
    QSignalSpy status(controller.get(), &MainViewController::statusMessage);
    DiagnosticCapture output;
    ASSERT_TRUE(delegate.openFile(notes.fileName()));
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0][0].toString(),
              QStringLiteral("notes.txt: not a Varlin session and not audio Varlin can play"));
    EXPECT_EQ(controller->sessions().sessionURL(), url);
    EXPECT_EQ(playlist().allEntries.size(), 3u);
}

TEST_F(AppDelegateTest, quittingWaitsForTheSaveOfADirtySession) {
    const QUrl url = session("Dance.varlin", {"a.wav"}, 1.0, 0);
    controller->sessions().openSessionAt(url);
    QSignalSpy terminating(&delegate, &AppDelegate::terminating);
    playlist().allEntries[0]->isCheckmarked = true;
    playlist().dirty = true;
    delegate.requestQuit();
    EXPECT_EQ(terminating.size(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(terminating.size(), 1) << "the save ended, so the request quits";
    EXPECT_TRUE(Playlist::open(url, nullptr)->allEntries[0]->isCheckmarked);
}
