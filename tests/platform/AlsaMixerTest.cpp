#include "platform/AlsaMixer.h"

#include "support/PrivateSoundServer.h"

#include <gtest/gtest.h>
#include <memory>

// The plugin stays bound to the sink that was the default when the mixer opened: after a pause
// the mixer must open again to reach the new default.
TEST(AlsaMixer, FollowsASwitchOfTheDefaultSinkAfterAPause) {
    const std::unique_ptr<PrivateSoundServer> server =
        PrivateSoundServer::startOrSkip({"hall", "porch"});
    if (!server)
        return;
    std::chrono::steady_clock::time_point now;
    AlsaMixer mixer([&now] { return now; });
    using Property = AudioMixer::Property;
    ASSERT_TRUE(mixer.write(0, Property::MainVolume, 0.3f));
    EXPECT_NEAR(server->sinkVolume("hall").value_or(-1), 0.3, 1e-4);

    ASSERT_TRUE(server->pactl({"set-default-sink", "porch"}));
    now += AlsaMixer::reopenAfterPause + std::chrono::seconds(1);
    ASSERT_TRUE(mixer.write(0, Property::MainVolume, 0.4f));
    EXPECT_NEAR(server->sinkVolume("porch").value_or(-1), 0.4, 1e-4);
    EXPECT_NEAR(server->sinkVolume("hall").value_or(-1), 0.3, 1e-4);
}
