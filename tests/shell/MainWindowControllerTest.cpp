// The main window's commands: the two modes, the tools, adding tracks, the companion program,
// media keys, and the pointer that hides while nobody moves the mouse.

#include "shell/MainWindowController.h"

#include "MainViewFixture.h"
#include "stage/Screensaver.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

class MainWindowControllerTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        makeTools();
    }
    void makeTools() {
        tools = std::make_unique<MainWindowController>(
            *controller, panels, *view,
            MainWindowController::Options{[this] { return idleSeconds; },
                                          [this] { return windowActive; }});
    }

    double idleSeconds = 0;
    bool windowActive = true;
    std::unique_ptr<MainWindowController> tools;
};

TEST_F(MainWindowControllerTest, prepareModeSwapsThePicturesStopsTheBreakAndTheScreensaver) {
    const QImage danceBefore = tools->danceTool->icon().pixmap(32).toImage();
    controller->restTimer.arm();
    tools->prepareTool->trigger();
    EXPECT_TRUE(player().previewing());
    EXPECT_NE(tools->danceTool->icon().pixmap(32).toImage(), danceBefore) << "the picture changed";
    EXPECT_FALSE(controller->restTimer.timeArmed()) << "prepare cancels the break";
    EXPECT_FALSE(view->screensaver->saverTimer().isActive()) << "no screensaver while previewing";

    tools->danceTool->trigger();
    EXPECT_FALSE(player().previewing());
    EXPECT_EQ(tools->danceTool->icon().pixmap(32).toImage(), danceBefore);
    EXPECT_TRUE(view->screensaver->saverTimer().isActive());
    // The break tool starts and stops the break by hand.
    tools->breakTool->trigger();
    EXPECT_TRUE(controller->restTimer.timeArmed());
    tools->breakTool->trigger();
    EXPECT_FALSE(controller->restTimer.timeArmed());
}

TEST_F(MainWindowControllerTest, thePointerHidesAfterASecondStillInTheActiveWindowOnly) {
    for (const auto& [idle, active] : {std::pair{0.9, true}, std::pair{1.5, false}}) {
        idleSeconds = idle;
        windowActive = active;
        tools->hideMouse();
        EXPECT_FALSE(tools->pointerHidden()) << idle << (active ? "" : " in another window");
    }
    windowActive = true;
    tools->hideMouse();
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    tools->hideMouse();
    EXPECT_FALSE(tools->watchingMouse()) << "nothing to watch for until the mouse moves";

    QMouseEvent move(QEvent::MouseMove, QPointF(12, 12), QPointF(12, 12), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &move);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "hidden once, shown once";
    EXPECT_TRUE(tools->watchingMouse()) << "so that it hides again";
}

TEST_F(MainWindowControllerTest, addedTracksJoinTheEndAndTheCompanionNeedsItsProgram) {
    openSession({"a.wav", "b.wav"}, 20.0, 0);
    panels.addAnswer = {track("c.wav", 2.0), track("d.wav", 2.0)};
    QSignalSpy finished(&controller->entryCommands(), &EntryCommands::addingFinished);
    tools->addEntryTool->trigger();
    ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
    ASSERT_EQ(playlist().allEntries.size(), 4u);
    EXPECT_EQ(entry(2)->url(), panels.addAnswer[0]);
    EXPECT_EQ(playlist().assignedEntry, entry(2));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    makeTools();
    EXPECT_FALSE(tools->choreodexAction->isEnabled());
    QFile program(dir.filePath("choreodex"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly) &&
                program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    makeTools();
    EXPECT_TRUE(tools->choreodexAction->isEnabled());
    qputenv("PATH", path);
}

TEST_F(MainWindowControllerTest, mediaKeysInTheWindowRunTheRemotesCommands) {
    controller->firstActivation();
    openSession({"a.wav"}, 20.0, 0);
    entry(0)->zeros = {5.0, 12.0};
    player().setPreviewing(true);
    const auto pressKey = [](QWidget* widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    // Each key's command is the remote's (DesktopPresenceTest runs them all); here, which key
    // runs which, and that Play and its twin toggle.
    const struct {
        Qt::Key key;
        bool playing;
        double position;
    } presses[] = {
        {Qt::Key_MediaNext, false, 5.0},
        {Qt::Key_MediaPlay, true, 5.0},
        {Qt::Key_MediaTogglePlayPause, false, 5.0},
        {Qt::Key_MediaPlay, true, 5.0},
        {Qt::Key_MediaStop, false, 5.0},
        {Qt::Key_MediaNext, false, 12.0},
        {Qt::Key_MediaPrevious, false, 5.0},
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
