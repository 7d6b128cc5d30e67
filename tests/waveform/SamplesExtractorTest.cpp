#include "waveform/SamplesExtractor.h"

#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// What one extraction called back with.
struct Outcome {
    std::optional<std::vector<float>> samples;
    float sampleMax = 0;
    std::optional<SamplesExtractorError> error;
    bool onMainThread = false;
};

// Runs one extraction to its callback. The timer only keeps a broken build from hanging.
Outcome extract(const QUrl& track, int desired) {
    SamplesExtractor extractor;
    Outcome outcome;
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    const auto called = [&] {
        outcome.onMainThread = QThread::currentThread() == qApp->thread();
        loop.quit();
    };
    extractor.extractSamples(
        track, std::nullopt, desired,
        [&](const std::vector<float>& values, float max, const std::optional<QString>&) {
            outcome.samples = values;
            outcome.sampleMax = max;
            called();
        },
        [&](const SamplesExtractorError& failure, const std::optional<QString>&) {
            outcome.error = failure;
            called();
        });
    loop.exec();
    return outcome;
}

class SamplesExtractorTest : public testing::Test {
protected:
    // A WAV or (by its name) MP3 file of the signal. Time ranges and identifiers have no caller.
    QUrl make(const QString& name, testaudio::Signal signal, double seconds, int channels = 1) {
        testaudio::Spec spec;
        spec.signal = signal;
        spec.seconds = seconds;
        spec.channels = channels;
        const QString path = folder.filePath(name);
        const auto container =
            name.endsWith(".wav") ? testaudio::Container::Wav : testaudio::Container::Mp3Cbr;
        EXPECT_TRUE(testaudio::write(spec, container, path));
        return QUrl::fromLocalFile(path);
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(SamplesExtractorTest, monoStereoAndWavAgreeAndSilenceGivesOnes) {
    // Odd counts and real decoders: the files agree on the count and the level of a tone at half
    // scale, well above the floor.
    const Outcome fromMono = extract(make("mono.mp3", testaudio::Signal::Tone, 30.0), 333);
    ASSERT_TRUE(fromMono.samples);
    ASSERT_GE(fromMono.samples->size(), 333u);
    EXPECT_LE(fromMono.samples->size(), 334u);
    const float middle = (*fromMono.samples)[fromMono.samples->size() / 2];
    EXPECT_GT(middle, 0.1f);
    EXPECT_LT(middle, 0.5f);
    for (const QUrl& other : {make("stereo.mp3", testaudio::Signal::Tone, 30.0, 2),
                              make("mono.wav", testaudio::Signal::Tone, 30.0)}) {
        const Outcome outcome = extract(other, 333);
        ASSERT_TRUE(outcome.samples);
        ASSERT_EQ(outcome.samples->size(), fromMono.samples->size());
        EXPECT_NEAR((*outcome.samples)[outcome.samples->size() / 2], middle, 0.01f);
    }

    const Outcome quiet = extract(make("s.wav", testaudio::Signal::Silence, 3.0), 200);
    ASSERT_TRUE(quiet.samples);
    EXPECT_TRUE(quiet.onMainThread);
    EXPECT_EQ(*quiet.samples, std::vector<float>(quiet.samples->size(), 1.0f));
    EXPECT_FLOAT_EQ(quiet.sampleMax, -50.0f);
}

TEST_F(SamplesExtractorTest, badInputFailsOnTheMainThreadWithAReason) {
    QFile text(folder.filePath("notes.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("These are notes, not music.\n").repeated(200));
    text.close();
    using Case = SamplesExtractorError::Case;
    const std::pair<Outcome, Case> cases[] = {
        {extract(QUrl::fromLocalFile(folder.filePath("gone.mp3")), 100), Case::readingError},
        {extract(QUrl::fromLocalFile(text.fileName()), 100), Case::readingError},
        {extract(QUrl("https://example.org/a.mp3"), 100), Case::assetNotFound},
        {extract(make("t.wav", testaudio::Signal::Tone, 1.0), 0), Case::readingError}};
    for (const auto& [outcome, kind] : cases) {
        ASSERT_TRUE(outcome.error);
        EXPECT_TRUE(outcome.onMainThread);
        EXPECT_EQ(outcome.error->kind, kind);
        EXPECT_FALSE(outcome.error->payload.isEmpty() && kind == Case::readingError);
    }
}
