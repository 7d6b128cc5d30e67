// The transport commands on the real main controller, panel and player over the offline output:
// what each does to the position, the entry, the rate and the volume, and how the game-controller
// remote and a real sound server reach them.

#include "MainViewFixture.h"
#include "control/GameControllerSet.h"
#include "control/TransportPanel.h"
#include "documents/Mp4ViewController.h"
#include "platform/VirtualGameController.h"
#include "support/PrivateSoundServer.h"

#include <QApplication>
#include <QSlider>
#include <QToolButton>

class TransportCommandsTest : public MainViewFixture {
protected:
    // The started program with a session of two 20-second tracks, the first one current.
    void SetUp() override {
        MainViewFixture::SetUp();
        controller->firstActivation();
        openSession({"a.wav", "b.wav"}, 20.0, 0);
        ASSERT_EQ(player().entry(), entry(0));
    }
    TransportPanel& panel() { return *view->transportPanel; }
    double position() { return player().currentTime(); }
};

TEST_F(TransportCommandsTest, pauseStepsBackForALeadInButNeverAcrossTheZero) {
    controller->restTimer.arm();
    transport().playCommand();
    EXPECT_FALSE(controller->restTimer.timeArmed()) << "play disarms the break";
    EXPECT_EQ(doNotDisturbCount, 1);
    render(1.5);

    transport().pauseCommand();
    EXPECT_TRUE(controller->restTimer.timeArmed()) << "pausing the music arms the break";
    EXPECT_NEAR(position(), 0.5, 0.01) << "1.5 s after the start: back to 0.5 s";
    controller->restTimer.disarm();
    transport().pauseCommand();
    EXPECT_NEAR(position(), 0.5, 0.01) << "0.5 s after the start: no step back";
    EXPECT_FALSE(controller->restTimer.timeArmed()) << "only music stopping arms the break";

    entry(0)->zeros = {5.0};
    player().setCurrentTime(5.5);
    transport().pauseCommand();
    EXPECT_DOUBLE_EQ(position(), 5.5) << "never back across the zero";
    player().setCurrentTime(8.0);
    transport().pauseCommand();
    transport().pauseCommand();
    EXPECT_DOUBLE_EQ(position(), 6.0) << "pressed twice while stopped: two seconds back";
    transport().pauseCommand();
    EXPECT_DOUBLE_EQ(position(), 6.0) << "one second from the zero: no further";
}

TEST_F(TransportCommandsTest, playNearTheEndEndsTheTrackAndBackReturnsToTheFinishedOne) {
    player().setCurrentTime(9.0);
    transport().playCommand();
    render(0.1);
    transport().playCommand();
    EXPECT_NEAR(position(), 9.1, 0.01) << "11 s left: nothing changes";
    render(1.0);
    transport().playCommand();
    EXPECT_NEAR(position(), 19.9, 0.01) << "9 s left: sent to the end";
    render(0.3);
    ASSERT_EQ(player().entry(), entry(1)) << "the next track waits";

    // Back one second acts on the track that just ended; once back, the commands act as usual.
    transport().back1();
    EXPECT_EQ(playlist().assignedEntry, entry(0));
    EXPECT_EQ(player().entry(), entry(0));
    EXPECT_NEAR(position(), 20.0 - 1.1, 1e-9);
    transport().back3();
    EXPECT_NEAR(position(), 20.0 - 4.1, 1e-9);

    // Forward never returns to the finished track; and once music starts again, nothing does.
    transport().playCommand();
    render(4.5);
    ASSERT_EQ(player().entry(), entry(1));
    transport().forward1();
    EXPECT_NEAR(position(), 1.0, 0.01) << "on the second track";
    transport().playCommand();
    transport().back1();
    EXPECT_EQ(player().entry(), entry(1));
}

TEST_F(TransportCommandsTest, zeroCommandsKeepTheirMarginsAndAMarkIsShownAndKept) {
    entry(0)->zeros = {4.0, 8.0};
    player().setCurrentTime(8.2);
    transport().prevZero();
    EXPECT_DOUBLE_EQ(position(), 4.0) << "0.2 s after a zero: the zero before it";
    player().setCurrentTime(8.0);
    transport().nextZero();
    EXPECT_NEAR(position(), 19.9, 1e-9) << "no later zero: the end of the track";

    player().setCurrentTime(6.0);
    transport().markZero();
    EXPECT_EQ(entry(0)->zeros, (std::vector<double>{6.0}));
    EXPECT_EQ(AppState::read().value().zeros, (std::vector<double>{6.0})) << "the run state";

    // Next zero while playing: the track ends almost at once.
    transport().playCommand();
    transport().nextZero();
    render(0.2);
    EXPECT_EQ(player().entry(), entry(1));
}

TEST_F(TransportCommandsTest, rateStepsStopAtTheSliderAndAltOrOpeningASessionResetThem) {
    QSlider& rate = *panel().rateSlider;
    transport().faster();
    EXPECT_FLOAT_EQ(player().rate(), 46.0f / 45.0f);
    rate.setValue(rate.maximum());
    transport().faster();
    EXPECT_EQ(rate.value(), rate.maximum());
    heldModifiers = Qt::AltModifier;
    transport().faster();
    EXPECT_EQ(rate.value(), 45) << "Alt held: normal speed";
    heldModifiers = Qt::NoModifier;

    panel().doubleSpeed->setChecked(true);
    EXPECT_FLOAT_EQ(player().rate(), 2.0f);
    transport().slower();
    EXPECT_FALSE(panel().doubleSpeed->isChecked()) << "a step switches double speed off";
    transport().slower();
    sessions().openSessionAt(*sessions().sessionURL());
    EXPECT_EQ(rate.value(), 45);
    EXPECT_FLOAT_EQ(player().rate(), 1.0f);
}

TEST_F(TransportCommandsTest, volumeStepsInHalvesOfTenAndDrivesTheComputersVolume) {
    transport().volumeUp();
    EXPECT_FLOAT_EQ(player().volume(), 0.55f);
    controller->computerVolume().waitForQueuedSettings();
    EXPECT_FLOAT_EQ(mixer->state().volume, 0.55f);
    EXPECT_FLOAT_EQ(panel().volumeValue(), 0.55f);
    for (int i = 0; i < 12; ++i)
        transport().volumeUp();
    EXPECT_FLOAT_EQ(controller->volume(), 1.0f);
    controller->setVolume(0.0f);
    transport().volumeDown();
    EXPECT_FLOAT_EQ(controller->volume(), 0.0f);

    // From the slider, a tiny volume mutes the computer, and the unmute that follows leaves it at
    // its old level (the player makes the sound quiet).
    panel().volumeSlider->setValue(250);
    controller->computerVolume().waitForQueuedSettings();
    panel().volumeSlider->setValue(30);
    EXPECT_FLOAT_EQ(player().volume(), 0.03f);
    controller->computerVolume().waitForQueuedSettings();
    EXPECT_FALSE(mixer->state().muted);
    EXPECT_FLOAT_EQ(mixer->state().volume, 0.25f);
}

// The mapping of each layout's buttons is GameControllerSetTest's; here, what a press does.
TEST_F(TransportCommandsTest, theRemoteDrivesTheTransportAndTheVideoWhenItIsInFront) {
    ASSERT_TRUE(gameControllers);
    if (!transport().gameControllerSet()->controllersPaired().isEmpty())
        GTEST_SKIP() << "a real game controller is connected";
    DiagnosticCapture output;
    auto micro = std::make_unique<VirtualGameController>(
        VirtualGameController::nintendo, VirtualGameController::switchPro, "8BitDo Micro gamepad");
    const auto press = [&](SDL_GameControllerButton button) {
        micro->setButton(button, true);
        gameControllers->poll();
        micro->setButton(button, false);
        gameControllers->poll();
    };
    entry(0)->zeros = {4.0, 8.0};
    player().setPreviewing(true);
    player().setCurrentTime(8.5);
    press(SDL_CONTROLLER_BUTTON_X);
    EXPECT_DOUBLE_EQ(position(), 8.0) << "X goes to the previous zero";
    EXPECT_FALSE(player().previewing()) << "a remote press leaves prepare mode";
    press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(player().isPlaying()) << "A plays";
    press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_DOUBLE_EQ(position(), 5.0) << "B is back 3 s";
    EXPECT_DOUBLE_EQ(AppState::read()->currentTime, 8.0)
        << "each press saves the run state before its command";

    // With the video's window in front, the buttons are the video's alone.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    Mp4ViewController& video = controller->viewers.openMp4(QUrl::fromLocalFile("/none/a.mp4"));
    QApplication::setActiveWindow(video.window());
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_FLOAT_EQ(video.volume(), Mp4ViewController::initialVolume - 0.05f);
    EXPECT_FLOAT_EQ(controller->volume(), 0.5f);
}

namespace {

// The same program with the computer's volume on ALSA's default device, which goes through a
// private sound server's plugin as on a desktop.
class TransportOnASoundServerTest : public TransportCommandsTest {
protected:
    void SetUp() override {
        if (!(server = PrivateSoundServer::startOrSkip({"hall"})))
            return;
        systemMixer = nullptr;
        TransportCommandsTest::SetUp();
    }
    double sinkVolume() {
        controller->computerVolume().waitForQueuedSettings();
        return server->sinkVolume("hall").value_or(-1);
    }

    std::unique_ptr<PrivateSoundServer> server;
};

} // namespace

TEST_F(TransportOnASoundServerTest, volumeButtonsMoveTheSinkAndAServerGoneLeavesNoDevice) {
    QTest::mouseClick(panel().volumeUpButton, Qt::LeftButton);
    EXPECT_NEAR(sinkVolume(), 0.55, 1e-4);
    QTest::mouseClick(panel().volumeDownButton, Qt::LeftButton);
    QTest::mouseClick(panel().volumeDownButton, Qt::LeftButton);
    EXPECT_NEAR(sinkVolume(), 0.45, 1e-4);
    // Nearly silent: the mute and the unmute that follows leave the sink at its level.
    controller->setVolume(0.03f);
    EXPECT_NEAR(sinkVolume(), 0.45, 1e-4);
    EXPECT_EQ(server->sinkMuted("hall"), false);
    controller->setVolume(0.45f);
    EXPECT_NEAR(sinkVolume(), 0.45, 1e-4);

    DiagnosticCapture output;
    server->stop();
    SystemVolume& computer = controller->computerVolume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !computer.defaultOutputDevice(); }));
    output.clear();
    transport().volumeUp();
    computer.waitForQueuedSettings();
    EXPECT_FLOAT_EQ(player().volume(), 0.5f);
    const QString noDevice = "Unable to get default audio device";
    EXPECT_EQ(output.lines(),
              QStringList({noDevice, "Audio Device unknown", noDevice, "Audio device unknown"}));

    output.clear();
    ASSERT_TRUE(server->start()) << server->error().toStdString();
    transport().volumeUp();
    EXPECT_NEAR(sinkVolume(), 0.55, 1e-4);
    EXPECT_TRUE(output.lines().isEmpty()) << output.lines().join('\n').toStdString();
}
