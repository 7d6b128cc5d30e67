#include "platform/audio/AudioFilePlayer.h"
#include "testaudio/TestAudio.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

// The engine on SDL's dummy device, paced in real time, while the feeder thread keeps the ring
// filled and the main thread seeks, changes the rate and stops. That the sound reaches a real
// device is the sound-device test's.
TEST(AudioEngine, theLiveDeviceKeepsPlayingThroughSeeksRateChangesAndStops) {
    QTemporaryDir dir;
    testaudio::Spec spec;
    spec.seconds = 12;
    const QString path = dir.filePath("tone.wav");
    ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Wav, path));
    auto player = AudioFilePlayer::create(QUrl::fromLocalFile(path));
    ASSERT_TRUE(player);
    player->setEnableRate(true);
    const auto playsPast = [&player](double seconds) {
        return QTest::qWaitFor([&] { return player->currentTime() > seconds; }, 20000);
    };

    ASSERT_TRUE(player->play());
    EXPECT_TRUE(playsPast(0.2));
    // Changes in quick succession, each while the feeder may be filling the ring.
    for (int i = 0; i < 20; ++i) {
        player->setCurrentTime(1.0 + 0.25 * i);
        player->setRate(0.5f + 0.075f * float(i));
        QCoreApplication::processEvents();
    }
    player->setCurrentTime(8.0);
    EXPECT_TRUE(playsPast(8.2));
    EXPECT_LT(player->currentTime(), 10.0);
    player->setRate(0.75f);
    EXPECT_TRUE(playsPast(8.4));
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    const double stoppedAt = player->currentTime();
    QCoreApplication::processEvents();
    EXPECT_EQ(player->currentTime(), stoppedAt);

    QSignalSpy finished(player.get(), &AudioFilePlayer::finishedPlaying);
    player->setCurrentTime(11.6);
    ASSERT_TRUE(player->play());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.front().front().toBool());
}
