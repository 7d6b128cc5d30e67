// The main window's commands: the two modes and their pictures, the tools, adding tracks, the
// companion program, and the pointer that hides while nobody moves the mouse.

#include "shell/MainWindowController.h"

#include "MainViewFixture.h"
#include "shell/SessionController.h"
#include "stage/Screensaver.h"
#include "table/EntryCommands.h"
#include "table/PlaylistTableView.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

class MainWindowControllerTest : public MainViewFixture {
protected:
    MainWindowController& windowController() {
        if (!tools)
            tools = std::make_unique<MainWindowController>(
                *controller, panels, *view,
                MainWindowController::Options{[this] { return idleSeconds; },
                                              [this] { return windowActive; }});
        return *tools;
    }

    double idleSeconds = 0;
    bool windowActive = true;
    std::unique_ptr<MainWindowController> tools;
};

TEST_F(MainWindowControllerTest, prepareModeSwapsBothPicturesStopsTheBreakAndTheIdleCountdown) {
    MainWindowController& tools = windowController();
    const QImage danceBefore = tools.danceTool->icon().pixmap(32).toImage();
    EXPECT_EQ(tools.danceToolImage(), QStringLiteral("dance-active"));
    EXPECT_EQ(tools.prepareToolImage(), QStringLiteral("prepare-inactive"));

    controller->restTimer.arm();
    tools.prepareTool->trigger();
    EXPECT_TRUE(player().previewing());
    EXPECT_EQ(tools.danceToolImage(), QStringLiteral("dance-inactive"));
    EXPECT_EQ(tools.prepareToolImage(), QStringLiteral("prepare-active"));
    EXPECT_NE(tools.danceTool->icon().pixmap(32).toImage(), danceBefore) << "the picture changed";
    EXPECT_FALSE(controller->restTimer.timeArmed()) << "prepare cancels the break";
    EXPECT_FALSE(view->screensaver->saverTimer().isActive()) << "no screensaver while previewing";

    tools.danceTool->trigger();
    EXPECT_FALSE(player().previewing());
    EXPECT_EQ(tools.danceTool->icon().pixmap(32).toImage(), danceBefore);
    EXPECT_EQ(tools.prepareToolImage(), QStringLiteral("prepare-inactive"));
    EXPECT_TRUE(view->screensaver->saverTimer().isActive());

    // The break tool starts and stops the break by hand.
    tools.breakTool->trigger();
    EXPECT_TRUE(controller->restTimer.timeArmed());
    tools.breakTool->trigger();
    EXPECT_FALSE(controller->restTimer.timeArmed());
}

TEST_F(MainWindowControllerTest, thePointerHidesAfterASecondStillInTheActiveWindowOnly) {
    MainWindowController& tools = windowController();
    idleSeconds = 0.9;
    tools.hideMouse();
    EXPECT_FALSE(tools.pointerHidden());
    idleSeconds = 1.5;
    windowActive = false;
    tools.hideMouse();
    EXPECT_FALSE(tools.pointerHidden()) << "another window is in front";
    windowActive = true;
    tools.hideMouse();
    ASSERT_TRUE(tools.pointerHidden());
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    tools.hideMouse();

    QMouseEvent move(QEvent::MouseMove, QPointF(12, 12), QPointF(12, 12), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &move);
    EXPECT_FALSE(tools.pointerHidden());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "hidden once, shown once";
}

TEST_F(MainWindowControllerTest, addedTracksJoinTheEndAndTheFirstBecomesCurrent) {
    openSession({"a.wav", "b.wav"}, 20.0, 0);
    panels.addAnswer = {track("c.wav", 2.0), track("d.wav", 2.0)};
    QSignalSpy finished(&controller->entryCommands(), &EntryCommands::addingFinished);
    windowController().addEntryTool->trigger();
    ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
    ASSERT_EQ(playlist().allEntries.size(), 4u);
    EXPECT_EQ(playlist().allEntries[2]->url(), panels.addAnswer[0]);
    EXPECT_EQ(controller->selectedRows(), std::set<int>{2});
    EXPECT_EQ(playlist().assignedEntry, playlist().allEntries[2]);
}

TEST_F(MainWindowControllerTest, theCompanionCommandNeedsTheProgramOnThePath) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    EXPECT_FALSE(windowController().choreodexAction->isEnabled());
    tools.reset();
    QFile::setPermissions(writeFile("choreodex", "#!/bin/sh\n"),
                          QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(windowController().choreodexAction->isEnabled());
    qputenv("PATH", path);
}

TEST_F(MainWindowControllerTest, mediaKeysInTheWindowRunTheRemotesCommands) {
    windowController();
    controller->firstActivation();
    openSession({"a.wav"}, 20.0, 0);
    playlist().allEntries[0]->zeros = {5.0, 12.0};
    player().setPreviewing(true);
    const struct {
        Qt::Key key;
        bool playing;
        double position;
    } presses[] = {
        {Qt::Key_MediaNext, false, 5.0},
        {Qt::Key_MediaPlay, true, 5.0},
        {Qt::Key_MediaPlay, false, 5.0},
        {Qt::Key_MediaTogglePlayPause, true, 5.0},
        {Qt::Key_MediaPause, false, 5.0},
        {Qt::Key_MediaNext, false, 12.0},
        {Qt::Key_MediaTogglePlayPause, true, 12.0},
        {Qt::Key_MediaStop, false, 12.0},
        {Qt::Key_MediaPrevious, false, 5.0},
    };
    const auto pressKey = [](QWidget* widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    for (const auto& press : presses) {
        pressKey(view->tableView, press.key);
        EXPECT_EQ(player().isPlaying(), press.playing) << press.key;
        EXPECT_DOUBLE_EQ(player().currentTime(), press.position) << press.key;
    }
    EXPECT_FALSE(player().previewing()) << "a media key is a remote's press";
    // Another window's keys are its own.
    QWidget other;
    pressKey(&other, Qt::Key_MediaPlay);
    EXPECT_FALSE(player().isPlaying());
}
