#include "platform/audio/SdlAudioOutput.h"

#include "platform/Diagnostics.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(SdlAudioOutputTest, WithoutAnyDeviceItPlaysSilentlyOnTheDummyDriverAndSaysSoOnce) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    DiagnosticCapture capture;
    {
        SdlAudioOutput output(
            [](float* out, int frames, int64_t) { std::fill(out, out + frames * 2, 0.0f); });
        EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
        EXPECT_TRUE(output.isRealTime());
        EXPECT_EQ(output.format(), (AudioFormat{44100, 2}));
        output.maintain(); // the device is healthy: nothing to reopen, nothing said
    }
    ASSERT_EQ(capture.lines().size(), 1);
    EXPECT_TRUE(capture.lines().front().contains("playing silently"));
}
