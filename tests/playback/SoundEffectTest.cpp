#include "playback/SoundEffect.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"

#include <gtest/gtest.h>

TEST(SoundEffect, TheBellRingsAtTheStoredVolumeAndAMissingOneStaysSilent) {
    float attenuation = 1.0f;
    DiagnosticCapture output;
    SoundEffect bell("bell.mp3", [&] { return attenuation; });
    ASSERT_NE(bell.avplayer(), nullptr) << output.lines().join('\n').toStdString();
    bell.play();
    EXPECT_FLOAT_EQ(bell.avplayer()->volume(), 0.01f);
    // Ringing again while it sounds takes the volume stored now.
    attenuation = 0.0f;
    bell.play();
    EXPECT_TRUE(bell.avplayer()->isPlaying());
    EXPECT_FLOAT_EQ(bell.avplayer()->volume(), 1.0f);
    EXPECT_TRUE(output.lines().isEmpty());

    SoundEffect missing("no-such-sound.mp3", [] { return 0.0f; });
    EXPECT_EQ(missing.avplayer(), nullptr);
    missing.play();
    ASSERT_EQ(output.lines().size(), 1);
    EXPECT_TRUE(output.lines()[0].startsWith("Can't open sound no-such-sound.mp3"));
}
