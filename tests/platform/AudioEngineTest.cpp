#include "platform/audio/AudioFilePlayer.h"
#include "testaudio/TestAudio.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

// The engine on SDL's dummy device, paced in real time, while the main thread seeks and changes
// the rate in quick succession, each while the feeder thread may be filling the ring. That the
// sound reaches a real device is the sound-device test's.
TEST(AudioEngine, seeksRacingTheFeederLeaveItPlayingOnFromTheLastOneToTheEnd) {
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
    for (int i = 0; i < 20; ++i) {
        player->setCurrentTime(1.0 + 0.25 * i);
        player->setRate(0.5f + 0.075f * float(i));
        QCoreApplication::processEvents();
    }
    player->setCurrentTime(8.0);
    EXPECT_TRUE(playsPast(8.2));
    EXPECT_LT(player->currentTime(), 10.0);
    player->setCurrentTime(11.6);
    QSignalSpy finished(player.get(), &AudioFilePlayer::finishedPlaying);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(finished.front().front().toBool());
}
