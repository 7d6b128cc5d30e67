#include "playback/SystemVolume.h"

#include "FakeMixer.h"
#include "platform/Diagnostics.h"
#include "support/PrivateSoundServer.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Rig {
    explicit Rig(const std::function<void(FakeMixer::State&)>& change = {}) {
        FakeMixer::State state;
        if (change)
            change(state);
        mixer->setState(state);
    }
    std::shared_ptr<FakeMixer> mixer = std::make_shared<FakeMixer>();
    SystemVolume volume{mixer};
    DiagnosticCapture output;
};

} // namespace

TEST(SystemVolume, WithoutADeviceEveryOperationReportsAndReturns) {
    Rig none([](FakeMixer::State& s) { s.hasDevice = false; });
    EXPECT_FALSE(none.volume.defaultOutputDevice());
    none.volume.setSystemVolume(0.5f, true);
    EXPECT_EQ(none.volume.systemVolume(), 0.0f);
    none.volume.setSystemMuted(true);
    EXPECT_FALSE(none.volume.systemMuted());
    const QString noDefault = "Unable to get default audio device";
    EXPECT_EQ(none.output.lines(),
              QStringList({noDefault, noDefault, "Audio Device unknown", noDefault,
                           "Audio device unknown", noDefault, "Audio device unknown", noDefault}));
    EXPECT_EQ(none.mixer->state().writes, 0);
}

TEST(SystemVolume, ClampsOutOfRangeVolumesAndMutesTinyOnes) {
    Rig s([](FakeMixer::State& state) { state.muted = true; });
    s.volume.setSystemVolume(1.2f, true);
    EXPECT_EQ(s.output.lines(),
              QStringList("Tentative volume ( 1.20) was out of range; reset to  1.00"));
    EXPECT_EQ(s.mixer->state().volume, 1.0f);
    EXPECT_FALSE(s.mixer->state().muted);

    s.output.clear();
    const int writes = s.mixer->state().writes;
    s.volume.setSystemVolume(NAN, true);
    EXPECT_EQ(s.output.lines(),
              QStringList("Tentative volume (nan) is not a number; volume left unchanged"));
    EXPECT_EQ(s.mixer->state().writes, writes);

    // A tiny volume mutes and leaves the level where it was.
    Rig tiny;
    tiny.volume.setSystemVolume(0.03f, true);
    EXPECT_TRUE(tiny.mixer->state().muted);
    EXPECT_EQ(tiny.mixer->state().volume, 0.6f);
    EXPECT_TRUE(tiny.output.lines().isEmpty());

    Rig noMute([](FakeMixer::State& state) { state.hasMute = false; });
    noMute.volume.setSystemVolume(0.03f, true);
    EXPECT_EQ(noMute.output.lines(), QStringList("The device 0x2a does not have a volume to set"));

    Rig failing([](FakeMixer::State& state) { state.failMuteWrite = true; });
    failing.volume.setSystemVolume(0.03f, true);
    EXPECT_EQ(failing.output.lines(), QStringList("The device 0x2a was not muted"));
    EXPECT_EQ(failing.mixer->state().volume, 0.6f);
}

TEST(SystemVolume, SettingTheLevelUnmutesOnlyWhenAskedAndReportsEachFailure) {
    Rig s([](FakeMixer::State& state) { state.muted = true; });
    s.volume.setSystemVolume(0.4f, false);
    EXPECT_TRUE(s.mixer->state().muted);
    s.volume.setSystemVolume(0.7f, true);
    EXPECT_EQ(s.mixer->state().volume, 0.7f);
    EXPECT_FALSE(s.mixer->state().muted);
    EXPECT_TRUE(s.output.lines().isEmpty());

    // The unmute is the last write: when it succeeds, only the volume failure is reported.
    Rig failing([](FakeMixer::State& state) { state.failVolumeWrite = true; });
    failing.volume.setSystemVolume(0.5f, true);
    EXPECT_EQ(failing.output.lines(), QStringList("The device 0x2a was unable to set volume"));
    failing.output.clear();
    failing.volume.setSystemVolume(0.5f, false);
    EXPECT_EQ(failing.output.lines(), QStringList({"The device 0x2a was unable to set volume",
                                                   "Unable to set volume for device 0x2a"}));
}

TEST(SystemVolume, ReadingVolumeAndMute) {
    Rig s([](FakeMixer::State& state) { state.volume = 1.5f; });
    EXPECT_EQ(s.volume.systemVolume(), 1.0f);
    Rig muted([](FakeMixer::State& state) { state.muted = true; });
    EXPECT_TRUE(muted.volume.systemMuted());
    EXPECT_TRUE(s.output.lines().isEmpty() && muted.output.lines().isEmpty());

    Rig unreadable([](FakeMixer::State& state) { state.failVolumeRead = true; });
    EXPECT_EQ(unreadable.volume.systemVolume(), 0.0f);
    EXPECT_EQ(unreadable.output.lines(), QStringList("Unable to read volume for device 0x2a"));

    // Muted counts only where the mute switch can be set.
    Rig fixedMute([](FakeMixer::State& state) {
        state.muted = true;
        state.muteSettable = false;
    });
    EXPECT_FALSE(fixedMute.volume.systemMuted());
    fixedMute.volume.setSystemMuted(false);
    EXPECT_TRUE(fixedMute.mixer->state().muted);
    EXPECT_TRUE(fixedMute.output.lines().isEmpty());
}

TEST(SystemVolume, LaterSettingsSkipAMutedDeviceAndApplyInOrder) {
    auto mixer = std::make_shared<FakeMixer>();
    FakeMixer::State state;
    state.muted = true;
    mixer->setState(state);
    {
        SystemVolume volume(mixer);
        volume.setSystemVolumeLater(0.9f, true);
        volume.setSystemVolumeLater(0.9f, false);
    }
    EXPECT_EQ(mixer->state().volume, 0.6f);
    EXPECT_EQ(mixer->state().writes, 0);

    state.muted = false;
    mixer->setState(state);
    {
        SystemVolume volume(mixer);
        volume.setSystemVolumeLater(0.3f, true);
        EXPECT_EQ(mixer->state().volume, 0.3f);
        for (float level : {0.4f, 0.5f, 0.8f})
            volume.setSystemVolumeLater(level, false);
    }
    // The destructor waited for the queue, which kept the order of the requests.
    EXPECT_EQ(mixer->state().volume, 0.8f);
}

TEST(SystemVolume, FollowingTheProgramsVolumeUnmutesAndEndsAtTheNewestValue) {
    Rig s([](FakeMixer::State& state) { state.muted = true; });
    for (float level : {0.2f, 0.4f, 0.7f, 0.03f, 0.9f})
        s.volume.followVolume(level);
    s.volume.waitForQueuedSettings();
    EXPECT_EQ(s.mixer->state().volume, 0.9f);
    EXPECT_FALSE(s.mixer->state().muted);

    // A tiny volume mutes, and the unmute that follows leaves the level where it was.
    s.volume.followVolume(0.03f);
    s.volume.waitForQueuedSettings();
    EXPECT_EQ(s.mixer->state().volume, 0.9f);
    EXPECT_FALSE(s.mixer->state().muted);
}

namespace {

using Kind = PrivateSoundServer::Kind;

// ALSA's default device going through a private sound server's plugin, as on a desktop.
class SystemVolumeOnASoundServer : public testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        if (const std::optional<QString> reason = PrivateSoundServer::unavailable(GetParam()))
            GTEST_SKIP() << reason->toStdString();
        server = std::make_unique<PrivateSoundServer>(QStringList{"hall"});
        ASSERT_TRUE(server->isRunning()) << server->error().toStdString();
        volume = std::make_unique<SystemVolume>();
    }
    double sinkVolume() const { return server->sinkVolume("hall").value_or(-1); }
    bool sinkMuted() const { return server->sinkMuted("hall").value_or(false); }

    DiagnosticCapture output;
    std::unique_ptr<PrivateSoundServer> server;
    std::unique_ptr<SystemVolume> volume;
};

} // namespace

TEST_P(SystemVolumeOnASoundServer, LevelsAndMuteReachTheSinkAndReadsSeeWhatOthersSet) {
    volume->setSystemVolume(0.3f, true);
    EXPECT_NEAR(sinkVolume(), 0.3, 1e-4);
    volume->setSystemVolume(0.03f, true);
    EXPECT_TRUE(sinkMuted());
    EXPECT_TRUE(volume->systemMuted());
    EXPECT_NEAR(sinkVolume(), 0.3, 1e-4) << "muting leaves the level where it was";
    volume->setSystemVolume(0.6f, true);
    EXPECT_FALSE(sinkMuted());
    EXPECT_NEAR(sinkVolume(), 0.6, 1e-4);

    // The server tells its clients of a change a moment after it made it.
    ASSERT_TRUE(server->pactl({"set-sink-volume", "hall", "25%"}));
    EXPECT_TRUE(QTest::qWaitFor([this] { return std::abs(volume->systemVolume() - 0.25f) < 1e-4; }))
        << volume->systemVolume();
    ASSERT_TRUE(server->pactl({"set-sink-mute", "hall", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([this] { return volume->systemMuted(); }));
    EXPECT_TRUE(output.lines().isEmpty()) << output.lines().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(, SystemVolumeOnASoundServer, testing::ValuesIn(PrivateSoundServer::kinds),
                         PrivateSoundServer::TestName());
