#include "platform/audio/SdlAudioOutput.h"

#include "platform/Diagnostics.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <atomic>
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

TEST(SdlAudioOutputTest, AReleasedDeviceSoundsAgainOnceAcquiredAndItsClockNeverGoesBack) {
    std::atomic<int> callbacks{0};
    SdlAudioOutput output([&callbacks](float* out, int frames, int64_t) {
        std::fill(out, out + frames * 2, 0.0f);
        ++callbacks;
    });
    const auto waitForCallbacks = [&callbacks](int count) {
        for (int i = 0; i < 200 && callbacks < count; ++i)
            SDL_Delay(5);
        return callbacks >= count;
    };
    ASSERT_TRUE(waitForCallbacks(2));
    const double before = output.heardFrame();
    output.release();
    output.maintain(); // closed on purpose, not lost: nothing to reopen
    output.acquire();
    const int reopened = callbacks;
    EXPECT_TRUE(waitForCallbacks(reopened + 2)) << "no sound after a break";
    EXPECT_GE(output.heardFrame(), before);
}
