#include "playback/SystemVolume.h"

#include "FakeMixer.h"
#include "platform/Diagnostics.h"
#include "support/PrivateSoundServer.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

// The program sets the computer's volume only through followVolume, which sets and unmutes. The
// lines without a device are the transport's test on a sound server that goes away.
TEST(SystemVolume, BadLevelsAreClampedOrRefusedAndAFailedWriteIsReported) {
    const auto mixer = std::make_shared<FakeMixer>();
    const auto set = [&mixer](float level, const FakeMixer::State& given) {
        mixer->setState(given);
        DiagnosticCapture output;
        SystemVolume(mixer).setSystemVolume(level, true);
        return output.lines().join('|');
    };
    EXPECT_EQ(set(1.2f, {.muted = true}),
              "Tentative volume ( 1.20) was out of range; reset to  1.00");
    EXPECT_EQ(mixer->state().volume, 1.0f);
    EXPECT_EQ(set(NAN, {.muted = true}),
              "Tentative volume (nan) is not a number; volume left unchanged");
    EXPECT_TRUE(mixer->state().muted);
    // The unmute is the last write: when it succeeds, only the level's failure is reported.
    EXPECT_EQ(set(0.5f, {.failVolumeWrite = true, .muted = true}),
              "The device 0x2a was unable to set volume");
    EXPECT_FALSE(mixer->state().muted);
}

// ALSA's default device going through a private sound server's plugin, as on a desktop.
TEST(SystemVolumeOnASoundServer, LevelsAndMuteReachTheSinkAndReadsSeeWhatOthersSet) {
    const std::unique_ptr<PrivateSoundServer> server = PrivateSoundServer::startOrSkip({"hall"});
    if (!server)
        return;
    DiagnosticCapture output;
    SystemVolume volume;
    const auto sinkVolume = [&server] { return server->sinkVolume("hall").value_or(-1); };
    volume.setSystemVolume(0.3f, true);
    EXPECT_NEAR(sinkVolume(), 0.3, 1e-4);
    volume.setSystemVolume(0.03f, true);
    EXPECT_EQ(server->sinkMuted("hall"), true);
    EXPECT_TRUE(volume.systemMuted());
    EXPECT_NEAR(sinkVolume(), 0.3, 1e-4) << "muting leaves the level where it was";
    volume.setSystemVolume(0.6f, true);
    EXPECT_EQ(server->sinkMuted("hall"), false);
    EXPECT_NEAR(sinkVolume(), 0.6, 1e-4);

    // The server tells its clients of a change a moment after it made it.
    ASSERT_TRUE(server->pactl({"set-sink-volume", "hall", "25%"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(volume.systemVolume() - 0.25f) < 1e-4; }))
        << volume.systemVolume();
    ASSERT_TRUE(server->pactl({"set-sink-mute", "hall", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return volume.systemMuted(); }));
    EXPECT_TRUE(output.lines().isEmpty()) << output.lines().join('\n').toStdString();
}
