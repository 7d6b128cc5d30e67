#include "platform/AlsaMixer.h"

#include "support/PrivateSoundServer.h"

#include <gtest/gtest.h>
#include <memory>

// Reads only: a test must never change the volume of the machine it runs on.
TEST(AlsaMixer, ReportsTheDefaultDeviceConsistently) {
    AlsaMixer mixer;
    using Property = AudioMixer::Property;
    const std::optional<uint32_t> device = mixer.defaultOutputDevice();
    if (!mixer.hasDefaultOutputDevice()) {
        // No sound card (as on CI machines): nothing can be found, read or written.
        EXPECT_FALSE(device);
        for (Property property : {Property::MainVolume, Property::Mute}) {
            EXPECT_FALSE(mixer.hasProperty(0, property));
            EXPECT_FALSE(mixer.isSettable(0, property));
            EXPECT_FALSE(mixer.read(0, property));
            EXPECT_FALSE(mixer.write(0, property, 1.0f));
        }
        return;
    }
    if (!device)
        return;
    if (mixer.hasProperty(*device, Property::MainVolume)) {
        const std::optional<float> volume = mixer.read(*device, Property::MainVolume);
        ASSERT_TRUE(volume);
        EXPECT_GE(*volume, 0.0f);
        EXPECT_LE(*volume, 1.0f);
    }
    if (mixer.hasProperty(*device, Property::Mute)) {
        const std::optional<float> muted = mixer.read(*device, Property::Mute);
        ASSERT_TRUE(muted);
        EXPECT_TRUE(*muted == 0.0f || *muted == 1.0f);
    }
}

namespace {

using Kind = PrivateSoundServer::Kind;

// The default device going through a private sound server's plugin, as on a desktop.
class AlsaMixerOnASoundServer : public testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        if (const std::optional<QString> reason = PrivateSoundServer::unavailable(GetParam()))
            GTEST_SKIP() << reason->toStdString();
        server = std::make_unique<PrivateSoundServer>(QStringList{"hall", "porch"});
        ASSERT_TRUE(server->isRunning()) << server->error().toStdString();
    }

    std::unique_ptr<PrivateSoundServer> server;
    std::chrono::steady_clock::time_point now;
    AlsaMixer mixer{[this] { return now; }};
};

} // namespace

TEST_P(AlsaMixerOnASoundServer, FollowsASwitchOfTheDefaultSinkAfterAPause) {
    using Property = AudioMixer::Property;
    ASSERT_TRUE(mixer.write(0, Property::MainVolume, 0.3f));
    EXPECT_NEAR(server->sinkVolume("hall").value_or(-1), 0.3, 1e-4);

    ASSERT_TRUE(server->pactl({"set-default-sink", "porch"}));
    now += AlsaMixer::reopenAfterPause + std::chrono::seconds(1);
    ASSERT_TRUE(mixer.write(0, Property::MainVolume, 0.4f));
    EXPECT_NEAR(server->sinkVolume("porch").value_or(-1), 0.4, 1e-4);
    EXPECT_NEAR(server->sinkVolume("hall").value_or(-1), 0.3, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(, AlsaMixerOnASoundServer, testing::ValuesIn(PrivateSoundServer::kinds),
                         PrivateSoundServer::TestName());
