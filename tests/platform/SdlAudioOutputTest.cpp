#include "platform/audio/SdlAudioOutput.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>

// The fall-back to silent playing without a device is the sound-device test's (a server away
// when the music starts).
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
