#include "playback/SystemVolume.h"

#include "FakeMixer.h"
#include "platform/Diagnostics.h"
#include "support/PrivateSoundServer.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using State = FakeMixer::State;

// A device at 0.6, unmuted, unless `state` says otherwise.
struct Rig {
    explicit Rig(const State& state) { mixer->setState(state); }
    std::shared_ptr<FakeMixer> mixer = std::make_shared<FakeMixer>();
    SystemVolume volume{mixer};
    DiagnosticCapture output;
};

} // namespace

// The program sets the computer's volume only through followVolume, which sets and unmutes.
TEST(SystemVolume, SettingsClampMuteTinyLevelsAndReportEachFailure) {
    // Sets `level` on a device as `given`; expects the device's volume and mute, and the lines.
    const auto check = [](const State& given, float level, float volume, bool muted,
                          const QStringList& lines) {
        SCOPED_TRACE(level);
        Rig rig(given);
        rig.volume.setSystemVolume(level, true);
        EXPECT_EQ(rig.output.lines(), lines);
        EXPECT_EQ(rig.mixer->state().volume, volume);
        EXPECT_EQ(rig.mixer->state().muted, muted);
    };
    check({.muted = true}, 1.2f, 1.0f, false,
          {"Tentative volume ( 1.20) was out of range; reset to  1.00"});
    check({.muted = true}, NAN, 0.6f, true,
          {"Tentative volume (nan) is not a number; volume left unchanged"});
    check({}, 0.03f, 0.6f, true, {});
    check({.hasMute = false}, 0.03f, 0.6f, false,
          {"The device 0x2a does not have a volume to set"});
    check({.failMuteWrite = true}, 0.03f, 0.6f, false, {"The device 0x2a was not muted"});
    check({.muted = true}, 0.7f, 0.7f, false, {});
    // The unmute is the last write: when it succeeds, only the level's failure is reported.
    check({.failVolumeWrite = true, .muted = true}, 0.5f, 0.6f, false,
          {"The device 0x2a was unable to set volume"});
    // Without a device nothing is written; the transport's test on a sound server that goes
    // away checks the lines.
    check({.hasDevice = false, .muted = true}, 0.5f, 0.6f, true,
          {"Unable to get default audio device", "Audio Device unknown"});
}

TEST(SystemVolume, FollowingTheProgramsVolumeUnmutesAndEndsAtTheNewest) {
    Rig rig({.muted = true});
    for (float level : {0.2f, 0.4f, 0.7f, 0.03f, 0.9f})
        rig.volume.followVolume(level);
    rig.volume.waitForQueuedSettings();
    EXPECT_EQ(rig.mixer->state().volume, 0.9f);
    EXPECT_FALSE(rig.mixer->state().muted);
    // The destructor waits for what is still queued.
    {
        SystemVolume volume(rig.mixer);
        volume.followVolume(0.3f);
    }
    EXPECT_EQ(rig.mixer->state().volume, 0.3f);
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
