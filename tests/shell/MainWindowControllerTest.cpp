// The main window's commands: the two modes, a media key, and the pointer that hides while nobody
// moves the mouse.

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

TEST_F(MainWindowControllerTest, thePointerHidesWhileTheMouseIsStillAndAMoveShowsIt) {
    idleSeconds = 1.5;
    tools->hideMouse();
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    tools->hideMouse();

    QMouseEvent move(QEvent::MouseMove, QPointF(12, 12), QPointF(12, 12), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &move);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "hidden once, shown once";
    EXPECT_TRUE(tools->watchingMouse()) << "so that it hides again";
}

// One key shows the media keys are wired; each command is the remote's (DesktopPresenceTest).
TEST_F(MainWindowControllerTest, aMediaKeyInTheWindowRunsTheRemotesCommand) {
    controller->firstActivation();
    openSession({"a.wav"}, 20.0, 0);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_MediaPlay, Qt::NoModifier);
    QApplication::sendEvent(view->tableView, &press);
    EXPECT_TRUE(player().isPlaying());
}
