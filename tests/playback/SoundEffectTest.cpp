#include "playback/SoundEffect.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(SoundEffect, TheBellRingsAtTheStoredVolumeFromOneCachedCopyAndAMissingOneStaysSilent) {
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

    // Bells play one copy in the cache folder (never a temporary file left behind), written
    // again when it is not the program's sound.
    const QString copy = bell.avplayer()->url().toLocalFile();
    EXPECT_EQ(QFileInfo(copy).absolutePath(),
              QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                  "/net.brenmoor.varlin");
    QFile stale(copy);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                stale.write("stale") == 5);
    stale.close();
    SoundEffect again("bell.mp3", [] { return 0.0f; });
    ASSERT_NE(again.avplayer(), nullptr);
    EXPECT_EQ(again.avplayer()->url().toLocalFile(), copy);
    EXPECT_DOUBLE_EQ(again.avplayer()->duration(), bell.avplayer()->duration());
    EXPECT_TRUE(output.lines().isEmpty());

    SoundEffect missing("no-such-sound.mp3", [] { return 0.0f; });
    EXPECT_EQ(missing.avplayer(), nullptr);
    missing.play();
    ASSERT_EQ(output.lines().size(), 1);
    EXPECT_TRUE(output.lines()[0].startsWith("Can't open sound no-such-sound.mp3"));
}
