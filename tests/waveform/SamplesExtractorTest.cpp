#include "waveform/SamplesExtractor.h"

#include "playback/OfflinePlayback.h"
#include "support/TestFiles.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// What one extraction called back with, and whether on the main thread.
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

// Time ranges and identifiers have no caller.
using SamplesExtractorTest = OfflinePlayback;

} // namespace

TEST_F(SamplesExtractorTest, aToneGivesItsLevelAndSilenceGivesOnes) {
    // An odd count and a real decoder: the level of a tone at half scale, well above the floor.
    testaudio::Spec spec = tone(30.0);
    spec.channels = 1;
    const Outcome fromMono = extract(make("mono.mp3", spec, testaudio::Container::Mp3Cbr), 333);
    ASSERT_TRUE(fromMono.samples);
    ASSERT_GE(fromMono.samples->size(), 333u);
    EXPECT_LE(fromMono.samples->size(), 334u);
    const float middle = (*fromMono.samples)[fromMono.samples->size() / 2];
    EXPECT_GT(middle, 0.1f);
    EXPECT_LT(middle, 0.5f);

    spec.signal = testaudio::Signal::Silence;
    const Outcome quiet = extract(make("s.wav", spec), 200);
    ASSERT_TRUE(quiet.samples);
    EXPECT_TRUE(quiet.onMainThread);
    EXPECT_EQ(*quiet.samples, std::vector<float>(quiet.samples->size(), 1.0f));
    EXPECT_FLOAT_EQ(quiet.sampleMax, -50.0f);
}

TEST_F(SamplesExtractorTest, badInputFailsOnTheMainThreadWithAReason) {
    const QString text = writeFile(dir.filePath("notes.mp3"),
                                   QByteArray("These are notes, not music.\n").repeated(200));
    using Case = SamplesExtractorError::Case;
    const std::pair<Outcome, Case> cases[] = {
        {extract(QUrl::fromLocalFile(dir.filePath("gone.mp3")), 100), Case::readingError},
        {extract(QUrl::fromLocalFile(text), 100), Case::readingError},
        {extract(QUrl("https://example.org/a.mp3"), 100), Case::assetNotFound},
        {extract(make("t.wav", tone(1.0)), 0), Case::readingError}};
    for (const auto& [outcome, kind] : cases) {
        ASSERT_TRUE(outcome.error);
        EXPECT_TRUE(outcome.onMainThread);
        EXPECT_EQ(outcome.error->kind, kind);
        EXPECT_FALSE(outcome.error->payload.isEmpty() && kind == Case::readingError);
    }
}
