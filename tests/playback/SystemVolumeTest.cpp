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

TEST(SystemVolume, SettingsClampMuteTinyLevelsAndReportEachFailure) {
    // Sets `level` on a device as `given`; expects the device's volume and mute, and the lines.
    const auto check = [](const State& given, float level, bool unmute, float volume, bool muted,
                          const QStringList& lines) {
        SCOPED_TRACE(testing::Message() << level << (unmute ? " unmuting" : ""));
        Rig rig(given);
        rig.volume.setSystemVolume(level, unmute);
        EXPECT_EQ(rig.output.lines(), lines);
        EXPECT_EQ(rig.mixer->state().volume, volume);
        EXPECT_EQ(rig.mixer->state().muted, muted);
    };
    check({.muted = true}, 1.2f, true, 1.0f, false,
          {"Tentative volume ( 1.20) was out of range; reset to  1.00"});
    check({.muted = true}, NAN, true, 0.6f, true,
          {"Tentative volume (nan) is not a number; volume left unchanged"});
    check({}, 0.03f, true, 0.6f, true, {});
    check({.hasMute = false}, 0.03f, true, 0.6f, false,
          {"The device 0x2a does not have a volume to set"});
    check({.failMuteWrite = true}, 0.03f, true, 0.6f, false, {"The device 0x2a was not muted"});
    check({.muted = true}, 0.4f, false, 0.4f, true, {});
    check({.muted = true}, 0.7f, true, 0.7f, false, {});
    // The unmute is the last write: when it succeeds, only the level's failure is reported.
    check({.failVolumeWrite = true, .muted = true}, 0.5f, true, 0.6f, false,
          {"The device 0x2a was unable to set volume"});
    check({.failVolumeWrite = true}, 0.5f, false, 0.6f, false,
          {"The device 0x2a was unable to set volume", "Unable to set volume for device 0x2a"});
}

TEST(SystemVolume, ReadsClampAndWithoutADeviceReportAndReturnNothing) {
    // Each rig's capture hears only what comes after it was made.
    Rig loud({.volume = 1.5f, .muted = true});
    EXPECT_EQ(loud.volume.systemVolume(), 1.0f);
    EXPECT_TRUE(loud.volume.systemMuted());
    EXPECT_TRUE(loud.output.lines().isEmpty());
    Rig unreadable({.failVolumeRead = true});
    EXPECT_EQ(unreadable.volume.systemVolume(), 0.0f);
    EXPECT_EQ(unreadable.output.lines(), QStringList("Unable to read volume for device 0x2a"));
    // Muted counts only where the mute switch can be set.
    Rig fixedMute({.muteSettable = false, .muted = true});
    EXPECT_FALSE(fixedMute.volume.systemMuted());
    fixedMute.volume.setSystemMuted(false);
    EXPECT_TRUE(fixedMute.mixer->state().muted);
    EXPECT_TRUE(fixedMute.output.lines().isEmpty());
    // Settings without a device are checked where the transport loses its sound server.
    Rig none({.hasDevice = false});
    EXPECT_FALSE(none.volume.defaultOutputDevice());
    EXPECT_EQ(none.volume.systemVolume(), 0.0f);
    EXPECT_FALSE(none.volume.systemMuted());
    const QString noDefault = "Unable to get default audio device";
    EXPECT_EQ(none.output.lines(),
              QStringList({noDefault, noDefault, "Audio device unknown", noDefault}));
}

TEST(SystemVolume, QueuedSettingsSkipAMutedDeviceKeepTheirOrderAndFollowTheNewest) {
    Rig rig({.muted = true});
    const std::shared_ptr<FakeMixer> mixer = rig.mixer;
    {
        SystemVolume volume(mixer);
        volume.setSystemVolumeLater(0.9f, true);
        volume.setSystemVolumeLater(0.9f, false);
    }
    EXPECT_EQ(mixer->state().volume, 0.6f);
    EXPECT_TRUE(mixer->state().muted);

    mixer->setState({});
    {
        SystemVolume volume(mixer);
        volume.setSystemVolumeLater(0.3f, true);
        EXPECT_EQ(mixer->state().volume, 0.3f);
        for (float level : {0.4f, 0.5f, 0.8f})
            volume.setSystemVolumeLater(level, false);
    }
    // The destructor waited for the queue, which kept the order of the requests.
    EXPECT_EQ(mixer->state().volume, 0.8f);

    // Following the program's volume unmutes and ends at the newest value.
    mixer->setState({.muted = true});
    for (float level : {0.2f, 0.4f, 0.7f, 0.03f, 0.9f})
        rig.volume.followVolume(level);
    rig.volume.waitForQueuedSettings();
    EXPECT_EQ(mixer->state().volume, 0.9f);
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
