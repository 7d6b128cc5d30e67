#include "platform/audio/AudioFilePlayer.h"

#include "playback/OfflinePlayback.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QSignalSpy>
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
};

// Left channel of interleaved stereo.
std::vector<float> left(const std::vector<float>& samples) {
    std::vector<float> out;
    for (size_t i = 0; i < samples.size(); i += 2)
        out.push_back(samples[i]);
    return out;
}

// The energy centre (in frames) of each run of sound that 20 ms of silence ends.
std::vector<double> soundCentres(const std::vector<float>& signal) {
    std::vector<double> centres;
    double weighted = 0;
    double total = 0;
    size_t quiet = 0;
    for (size_t i = 0; i < signal.size(); ++i) {
        const double energy = double(signal[i]) * signal[i];
        quiet = energy > 1e-6 ? 0 : quiet + 1;
        weighted += energy * double(i);
        total += energy;
        if (quiet == 882 && total > 0) {
            centres.push_back(weighted / total);
            weighted = total = 0;
        }
    }
    return centres;
}

float largestStep(const std::vector<float>& signal) {
    float step = 0;
    for (size_t i = 1; i < signal.size(); ++i)
        step = std::max(step, std::abs(signal[i] - signal[i - 1]));
    return step;
}

TEST_F(AudioFilePlayerTest, EndIsReportedOnceOnTheMainThreadWhenTheLastSampleIsHeard) {
    const auto player = open(make("short.wav", tone(1.0)));
    QSignalSpy finishes(player.get(), &AudioFilePlayer::finishedPlaying);
    player->setCurrentTime(0.5);
    player->play();
    render(22049.0 / deviceRate);
    EXPECT_EQ(finishes.count(), 0);
    EXPECT_NEAR(player->currentTime(), 1.0 - frame, 1e-9);

    output.render(600);
    EXPECT_EQ(finishes.count(), 0) << "reported from inside the render call";
    QCoreApplication::processEvents();
    ASSERT_EQ(finishes.count(), 1);
    EXPECT_TRUE(finishes[0][0].toBool());
    EXPECT_FALSE(player->isPlaying());
    EXPECT_DOUBLE_EQ(player->currentTime(), 1.0);
    // Stopped, the position stays where the sound stopped however long the output runs.
    render(1.0);
    EXPECT_EQ(finishes.count(), 1);
    EXPECT_DOUBLE_EQ(player->currentTime(), 1.0);

    // Played again, stretched, it ends again at the end.
    player->setEnableRate(true);
    player->setRate(1.25f);
    player->setCurrentTime(0.5);
    player->play();
    render(0.5);
    EXPECT_EQ(finishes.count(), 2);
    EXPECT_DOUBLE_EQ(player->currentTime(), player->duration());
}

TEST_F(AudioFilePlayerTest,
       RateChangesAreHeardPromptlyWithoutASeamAtThePitchAndWhereThePositionIs) {
    testaudio::Spec spec = tone(8.0, 2000.0);
    spec.signal = testaudio::Signal::Bursts;
    for (double t = 0.25; t < spec.seconds; t += 0.25)
        spec.clickTimes.push_back(t);
    const auto a440 = open(make("a440.wav", tone(8.0)));
    const auto bursts = open(make("bursts.wav", spec));

    // 10 ms steps, the change a second in, 2.5 s in all.
    constexpr int step = 441;
    constexpr int change = 100;
    constexpr double stepSeconds = double(step) / deviceRate;
    struct Run {
        std::vector<double> positions; // before each step, and after the last
        std::vector<float> heard;
    };
    const auto play = [this](AudioFilePlayer& player, float from, float to) {
        Run run;
        player.setEnableRate(true);
        player.setRate(from);
        player.setCurrentTime(0.6);
        player.play();
        for (int i = 0; i < change * 5 / 2; ++i) {
            if (i == change)
                player.setRate(to);
            run.positions.push_back(player.currentTime());
            const std::vector<float> piece = left(output.render(step));
            run.heard.insert(run.heard.end(), piece.begin(), piece.end());
        }
        run.positions.push_back(player.currentTime());
        player.stop();
        return run;
    };
    const struct {
        float from, to;
    } cases[] = {{1.0f, 1.5f}, {1.5f, 0.75f}, {0.5f, 2.0f}, {2.0f, 1.2f}, {0.8f, 1.0f}};
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(testing::Message() << from << " to " << to);
        const Run sine = play(*a440, from, to);
        // The new rate within 150 ms: the sound takes up to 100 ms, and the position follows
        // the stretcher's latency as it moves to that of the new rate.
        for (int i = change + 15; i < change * 5 / 2; ++i)
            EXPECT_NEAR(sine.positions[i + 1] - sine.positions[i], to * stepSeconds, 0.0005)
                << "step " << i;
        // A 440 Hz sine at half scale never moves more than 0.032 between samples; a seam
        // would show as a jump.
        EXPECT_LT(largestStep(sine.heard), 0.04f);
        // The pitch of the last second is the file's.
        int rising = 0;
        for (size_t i = sine.heard.size() - deviceRate; i < sine.heard.size(); ++i)
            rising += sine.heard[i - 1] < 0 && sine.heard[i] >= 0;
        EXPECT_NEAR(rising, 440, 2);

        // Never back, never still, never a leap: a step advances by a quarter of the slower rate
        // at least and twice the faster at most.
        const Run heard = play(*bursts, from, to);
        const std::vector<double>& positions = heard.positions;
        for (size_t i = 1; i < positions.size(); ++i) {
            const double advance = (positions[i] - positions[i - 1]) / stepSeconds;
            ASSERT_TRUE(advance >= 0.25 * std::min(from, to) && advance <= 2 * std::max(from, to))
                << "step " << i << ": " << advance;
        }
        // Each burst heard, once the start and the change have settled, lies within 5 ms (as
        // heard) of where the position put it.
        for (const double centre : soundCentres(heard.heard)) {
            const double stepsIn = centre / step;
            if (stepsIn < change / 5.0 || (stepsIn > change && stepsIn < change * 1.2))
                continue;
            const auto i = size_t(stepsIn);
            const double position =
                positions[i] + (stepsIn - double(i)) * (positions[i + 1] - positions[i]);
            const double burst = std::round(position * 4) / 4;
            EXPECT_LT(std::abs(position - burst) / (stepsIn < change ? from : to), 0.005)
                << "burst at " << burst;
        }
    }
}

TEST_F(AudioFilePlayerTest, ACutOffFileEndsWhereItsSoundEndsAndAStreamIsRefused) {
    const QByteArray whole =
        readFile(make("whole.mp3", tone(10.0), Container::Mp3Cbr).toLocalFile());
    // The header still promises ten seconds.
    const QString cut = dir.filePath("cut.mp3");
    ASSERT_TRUE(putBadFile(cut, whole.left(whole.size() / 2)));
    const auto player = open(QUrl::fromLocalFile(cut));
    ASSERT_TRUE(player);
    QSignalSpy finishes(player.get(), &AudioFilePlayer::finishedPlaying);
    QSignalSpy errors(player.get(), &AudioFilePlayer::decodeErrorOccurred);
    player->setCurrentTime(3.0);
    player->play();
    render(3.0);
    ASSERT_EQ(finishes.count(), 1);
    EXPECT_FALSE(player->isPlaying());
    // The position stays where the sound stopped, not at the length the header claims.
    EXPECT_NEAR(player->currentTime(), 5.0, 0.1);
    EXPECT_EQ(finishes[0][0].toBool(), errors.isEmpty());

    // Unreadable files are the decoder's; a stream is refused before reaching it.
    QString error;
    EXPECT_FALSE(AudioFilePlayer::create(QUrl("https://example.org/a.mp3"), &error));
    EXPECT_FALSE(error.isEmpty() || error.contains('\n'));
}

} // namespace
