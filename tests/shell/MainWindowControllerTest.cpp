// The main window's commands: the two modes and a media key.

#include "shell/MainWindowController.h"

#include "MainViewFixture.h"
#include "stage/Screensaver.h"

#include <QApplication>
#include <QKeyEvent>

class MainWindowControllerTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        tools = std::make_unique<MainWindowController>(
            *controller, panels, *view,
            MainWindowController::Options{[this] { return idleSeconds; }, [] { return true; }});
    }

    double idleSeconds = 0;
    std::unique_ptr<MainWindowController> tools;
};

TEST_F(MainWindowControllerTest, prepareModeStopsTheBreakAndTheScreensaver) {
    controller->restTimer.arm();
    tools->prepareTool->trigger();
    EXPECT_TRUE(player().previewing());
    EXPECT_FALSE(controller->restTimer.timeArmed()) << "prepare cancels the break";
    EXPECT_FALSE(view->screensaver->saverTimer().isActive()) << "no screensaver while previewing";

    tools->danceTool->trigger();
    EXPECT_FALSE(player().previewing());
    EXPECT_TRUE(view->screensaver->saverTimer().isActive());
}

// One key shows the media keys are wired; each command is the remote's (DesktopPresenceTest).
TEST_F(MainWindowControllerTest, aMediaKeyInTheWindowRunsTheRemotesCommand) {
    controller->firstActivation();
    openSession({"a.wav"}, 20.0, 0);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_MediaPlay, Qt::NoModifier);
    QApplication::sendEvent(view->tableView, &press);
    EXPECT_TRUE(player().isPlaying());
}
