// The play and pause commands on a real player over the offline output.

#include "control/TransportViewController.h"

#include "model/PlaylistEntry.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "playback/Player.h"
#include "playback/RestTimer.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

class TransportViewControllerTest : public testing::Test {
protected:
    void SetUp() override {
        testaudio::Spec spec;
        spec.signal = testaudio::Signal::Silence;
        spec.seconds = 20.0;
        spec.sampleRate = 8000;
        spec.channels = 1;
        const QString path = dir.filePath("tune.wav");
        ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Wav, path));
        entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 20.0);
        player.setEntry(entry);
    }
    void render(double seconds) {
        output.render(int(std::llround(seconds * 44100)));
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({44100, 2});
    Player player;
    RestTimer restTimer{[] { return 3.0; }};
    int doNotDisturb = 0;
    TransportViewController transport{player, restTimer, [this] { ++doNotDisturb; }};
    PlaylistEntryPtr entry;
};

TEST_F(TransportViewControllerTest, pauseArmsTheBreakAndStepsBackOneSecondButNotPastTheZero) {
    QSignalSpy flashed(&transport, &TransportViewController::symbolFlashed);
    restTimer.arm();
    transport.playCommand();
    EXPECT_TRUE(player.isPlaying());
    EXPECT_FALSE(restTimer.timeArmed()) << "play disarms the break";
    EXPECT_EQ(doNotDisturb, 1);
    render(1.5);

    transport.pauseCommand();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(restTimer.timeArmed());
    EXPECT_NEAR(player.currentTime(), 0.5, 0.01);
    // Pressed again while stopped: 0.5 s past the start, no step back.
    restTimer.disarm();
    transport.pauseCommand();
    EXPECT_NEAR(player.currentTime(), 0.5, 0.01);
    EXPECT_FALSE(restTimer.timeArmed()) << "pause arms only when music was playing";

    entry->zeros = {5.0};
    player.setCurrentTime(5.5);
    transport.pauseCommand();
    EXPECT_DOUBLE_EQ(player.currentTime(), 5.5) << "never back across the zero";
    player.setCurrentTime(8.0);
    transport.pauseCommand();
    transport.pauseCommand();
    EXPECT_DOUBLE_EQ(player.currentTime(), 6.0) << "pressed twice: two seconds back";
    transport.pauseCommand();
    EXPECT_DOUBLE_EQ(player.currentTime(), 6.0) << "one second from the zero: no further";

    ASSERT_GE(flashed.size(), 2);
    EXPECT_EQ(flashed.first().first().toString(), QStringLiteral("play.fill"));
    EXPECT_EQ(flashed.last().first().toString(), QStringLiteral("pause.fill"));
}

TEST_F(TransportViewControllerTest, playWithinTenSecondsOfTheEndEndsTheTrack) {
    player.setCurrentTime(9.0);
    transport.playCommand();
    render(0.1);
    transport.playCommand();
    EXPECT_NEAR(player.currentTime(), 9.1, 0.01) << "11 s left: nothing changes";
    render(1.0);
    transport.playCommand();
    EXPECT_NEAR(player.currentTime(), 19.9, 0.01) << "9 s left: sent to the end";
}
