#include "platform/audio/AudioFilePlayer.h"

#include "platform/audio/AudioDecoder.h"
#include "playback/OfflinePlayback.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using testaudio::Container;

namespace {

constexpr double frame = 1.0 / 44100;

class AudioFilePlayerTest : public OfflinePlayback {
protected:
    std::shared_ptr<AudioFilePlayer> open(const QUrl& url) {
        QString error;
        auto player = AudioFilePlayer::create(url, &error);
        EXPECT_TRUE(player) << error.toStdString();
        return player;
    }

    QUrl writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    }
};

// Counts the ends a player reports, and whether the last one was a success.
struct Finishes {
    explicit Finishes(AudioFilePlayer& player) {
        QObject::connect(&player, &AudioFilePlayer::finishedPlaying, [this](bool ok) {
            ++count;
            success = ok;
        });
    }
    int count = 0;
    bool success = false;
};

// Left channel of interleaved stereo.
std::vector<float> left(const std::vector<float>& samples) {
    std::vector<float> out;
    for (size_t i = 0; i < samples.size(); i += 2)
        out.push_back(samples[i]);
    return out;
}

int risingZeroCrossings(const std::vector<float>& signal) {
    int count = 0;
    for (size_t i = 1; i < signal.size(); ++i)
        count += signal[i - 1] < 0 && signal[i] >= 0;
    return count;
}

float largestStep(const std::vector<float>& signal) {
    float step = 0;
    for (size_t i = 1; i < signal.size(); ++i)
        step = std::max(step, std::abs(signal[i] - signal[i - 1]));
    return step;
}

TEST_F(AudioFilePlayerTest, OpensAudioWithExactDurationAndRefusesTheRest) {
    EXPECT_DOUBLE_EQ(open(make("tone.mp3", tone(3.0), Container::Mp3Vbr))->duration(),
                     double(testaudio::frameCount(tone(3.0))) / 44100);
    // Unreadable files are the decoder's; a stream is refused before reaching it.
    QString error;
    EXPECT_FALSE(AudioFilePlayer::create(QUrl("https://example.org/a.mp3"), &error));
    EXPECT_FALSE(error.isEmpty() || error.contains('\n'));
}

TEST_F(AudioFilePlayerTest, PositionIsTheFrameHeardInSourceSecondsAtEveryRate) {
    const auto player = open(make("tone.wav", tone(20.0)));
    player->setCurrentTime(2.0);
    player->play();
    EXPECT_NEAR(player->currentTime(), 2.0, frame);
    render(1.0);
    EXPECT_NEAR(player->currentTime(), 3.0, frame);

    // Stopped, the position stays where the sound stopped however long the output runs.
    player->stop();
    render(1.0);
    EXPECT_NEAR(player->currentTime(), 3.0, frame);

    // Without rate control the rate is kept but not applied.
    player->setRate(1.5f);
    player->play();
    render(1.0);
    EXPECT_NEAR(player->currentTime(), 4.0, frame);
    player->stop();

    player->setEnableRate(true);
    for (const float rate : {0.5f, 2.0f}) {
        player->setRate(rate);
        player->setCurrentTime(5.0);
        player->play();
        render(2.0);
        EXPECT_NEAR(player->currentTime(), 5.0 + 2.0 * rate, 0.01) << rate;
        player->stop();
    }
    player->setCurrentTime(99.0);
    EXPECT_DOUBLE_EQ(player->currentTime(), 20.0);
}

TEST_F(AudioFilePlayerTest, EndIsReportedOnceOnTheMainThreadWhenTheLastSampleIsHeard) {
    const auto player = open(make("short.wav", tone(1.0)));
    Finishes finishes(*player);
    player->setCurrentTime(0.5);
    player->play();
    output.render(22049);
    QCoreApplication::processEvents();
    EXPECT_EQ(finishes.count, 0);
    EXPECT_NEAR(player->currentTime(), 1.0 - frame, 1e-9);

    output.render(600);
    EXPECT_EQ(finishes.count, 0) << "reported from inside the render call";
    QCoreApplication::processEvents();
    EXPECT_EQ(finishes.count, 1);
    EXPECT_TRUE(finishes.success);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_DOUBLE_EQ(player->currentTime(), 1.0);
    render(1.0);
    EXPECT_EQ(finishes.count, 1);

    // Played again, stretched, it ends again at the end.
    player->setEnableRate(true);
    player->setRate(1.25f);
    player->setCurrentTime(0.5);
    player->play();
    render(0.3);
    EXPECT_EQ(finishes.count, 1);
    render(0.2);
    EXPECT_EQ(finishes.count, 2);
    EXPECT_DOUBLE_EQ(player->currentTime(), player->duration());
}

TEST_F(AudioFilePlayerTest, VoicesMixWithTheirOwnVolumesFromTheChosenSample) {
    const QUrl url = make("tone.wav", tone(3.0, 523.0));
    const auto loud = open(url);
    const auto quiet = open(url);
    // Rate control at rate 1 passes the file through unchanged.
    quiet->setEnableRate(true);
    loud->setVolume(0.5f);
    quiet->setVolume(0.25f);
    for (const auto& player : {loud, quiet}) {
        player->setCurrentTime(1.25);
        player->play();
    }
    const auto mixed = render(0.5);
    auto decoder = AudioDecoder::open(url.toLocalFile());
    ASSERT_TRUE(decoder->seek(int64_t(1.25 * 44100)));
    std::vector<float> source(mixed.size());
    ASSERT_EQ(decoder->readFloat(source.data(), int64_t(source.size() / 2)),
              int64_t(source.size() / 2));
    for (size_t i = 0; i < mixed.size(); ++i)
        ASSERT_NEAR(mixed[i], 0.75f * source[i], 1e-6f) << i;

    // A volume change glides over one buffer rather than stepping.
    loud->setVolume(0.0f);
    quiet->setVolume(0.0f);
    const auto fading = left(render(0.05));
    EXPECT_LT(largestStep(fading), 0.05f);
    const auto silent = render(0.1);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](float s) { return s == 0.0f; }));
}

TEST_F(AudioFilePlayerTest, RateChangesWhilePlayingAreQuickSmoothAndKeepThePitch) {
    const auto player = open(make("a440.wav", tone(30.0, 440.0)));
    player->setEnableRate(true);
    player->play();
    std::vector<float> heard = left(render(1.0));

    // Each step: 10 ms of output, and how far the position moved.
    auto step = [&] {
        const double before = player->currentTime();
        const auto piece = left(render(0.01));
        heard.insert(heard.end(), piece.begin(), piece.end());
        return player->currentTime() - before;
    };
    for (const float rate : {1.5f, 1.2f, 1.0f, 0.75f}) {
        const float previous = player->rate();
        player->setRate(rate);
        const size_t seam = heard.size();
        std::vector<double> advances;
        for (int i = 0; i < 30; ++i)
            advances.push_back(step());
        // Never a jump in position: at most a few milliseconds of give while the rates meet.
        const double low = 0.01 * std::min(previous, rate) - 0.005;
        const double high = 0.01 * std::max(previous, rate) + 0.005;
        for (double advance : advances)
            EXPECT_TRUE(advance > low && advance < high) << rate << ": " << advance;
        for (size_t i = 10; i < advances.size(); ++i) // the new rate within 100 ms
            EXPECT_NEAR(advances[i], 0.01 * rate, 0.0005) << rate << " step " << i;
        // A 440 Hz sine at half scale never moves more than 0.032 between samples; a seam
        // would show as a jump.
        const std::vector<float> around(heard.begin() + ptrdiff_t(seam) - 2000, heard.end());
        EXPECT_LT(largestStep(around), 0.04f) << rate;

        const auto second = left(render(1.0));
        EXPECT_NEAR(risingZeroCrossings(second), 440, 2) << rate;
        heard.insert(heard.end(), second.begin(), second.end());
    }
}

TEST_F(AudioFilePlayerTest, ACutOffFileEndsWhereItsSoundEnds) {
    const QUrl whole = make("whole.mp3", tone(10.0), Container::Mp3Cbr);
    QFile file(whole.toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The header still promises ten seconds.
    const auto player = open(writeBytes("cut.mp3", bytes.left(bytes.size() / 2)));
    ASSERT_TRUE(player);
    Finishes finishes(*player);
    int errors = 0;
    QObject::connect(player.get(), &AudioFilePlayer::decodeErrorOccurred, [&] { ++errors; });
    player->setCurrentTime(3.0);
    player->play();
    render(3.0);
    EXPECT_EQ(finishes.count, 1);
    EXPECT_FALSE(player->isPlaying());
    // The position stays where the sound stopped, not at the length the header claims.
    EXPECT_NEAR(player->currentTime(), 5.0, 0.1);
    EXPECT_EQ(finishes.success, errors == 0);
}

} // namespace
