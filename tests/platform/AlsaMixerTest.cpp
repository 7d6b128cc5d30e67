#include "platform/AlsaMixer.h"

#include <gtest/gtest.h>

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
