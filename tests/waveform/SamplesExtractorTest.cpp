#include "waveform/SamplesExtractor.h"

#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Range = std::optional<SamplesExtractor::TimeRange>;

// What one extraction called back with.
struct Outcome {
    std::optional<std::vector<float>> samples;
    float sampleMax = 0;
    std::optional<SamplesExtractorError> error;
    std::optional<QString> identifier;
    bool onMainThread = false;

    // Starts an extraction that records here and quits `loop`, when given, on its callback.
    void request(SamplesExtractor& extractor, const QUrl& track, int desired, QEventLoop* loop,
                 Range range = {}, std::optional<QString> id = {}) {
        const auto called = [this, loop](const std::optional<QString>& calledId) {
            identifier = calledId;
            onMainThread = QThread::currentThread() == qApp->thread();
            if (loop)
                loop->quit();
        };
        extractor.extractSamples(
            track, range, desired,
            [this, called](const std::vector<float>& values, float max,
                           const std::optional<QString>& calledId) {
                samples = values;
                sampleMax = max;
                called(calledId);
            },
            [this, called](const SamplesExtractorError& failure,
                           const std::optional<QString>& calledId) {
                error = failure;
                called(calledId);
            },
            id);
    }
};

// Runs one extraction to its callback. The timer only keeps a broken build from hanging.
Outcome extract(const QUrl& track, int desired, Range range = {}, std::optional<QString> id = {}) {
    SamplesExtractor extractor;
    Outcome outcome;
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    outcome.request(extractor, track, desired, &loop, range, id);
    loop.exec();
    return outcome;
}

class SamplesExtractorTest : public testing::Test {
protected:
    // A WAV or (by its name) MP3 file of the signal.
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

TEST_F(SamplesExtractorTest, monoStereoAndWavAgreeSilenceGivesOnesAndAShortTrackOneValue) {
    const QUrl stereo = make("stereo.mp3", testaudio::Signal::Tone, 30.0, 2);
    const QUrl mono = make("mono.mp3", testaudio::Signal::Tone, 30.0);
    const QUrl monoWav = make("mono.wav", testaudio::Signal::Tone, 30.0);
    // Odd counts and real decoders: the files agree on the count and the level.
    const Outcome fromStereo = extract(stereo, 333);
    const Outcome fromMono = extract(mono, 333);
    const Outcome fromWav = extract(monoWav, 333);
    ASSERT_TRUE(fromStereo.samples && fromMono.samples && fromWav.samples);
    EXPECT_GE(fromStereo.samples->size(), 333u);
    EXPECT_LE(fromStereo.samples->size(), 334u);
    EXPECT_EQ(fromStereo.samples->size(), fromMono.samples->size());
    EXPECT_EQ(fromWav.samples->size(), fromMono.samples->size());
    // A tone at half scale: a steady level well above the floor.
    const float middle = (*fromMono.samples)[fromMono.samples->size() / 2];
    EXPECT_GT(middle, 0.1f);
    EXPECT_LT(middle, 0.5f);
    EXPECT_NEAR((*fromStereo.samples)[fromStereo.samples->size() / 2], middle, 0.01f);

    const Outcome quiet =
        extract(make("s.wav", testaudio::Signal::Silence, 3.0), 200, {}, QStringLiteral("view"));
    ASSERT_TRUE(quiet.samples);
    EXPECT_TRUE(quiet.onMainThread);
    EXPECT_EQ(quiet.identifier, QStringLiteral("view"));
    EXPECT_EQ(*quiet.samples, std::vector<float>(quiet.samples->size(), 1.0f));
    EXPECT_FLOAT_EQ(quiet.sampleMax, -50.0f);

    // Ten seconds in two blocks: the 0.1 s of a full-scale square there is falls short of the
    // first.
    const Outcome shortTrack = extract(make("q.wav", testaudio::Signal::Square, 0.1), 2,
                                       SamplesExtractor::TimeRange{0.0, 10.0});
    ASSERT_TRUE(shortTrack.samples);
    ASSERT_EQ(shortTrack.samples->size(), 1u);
    EXPECT_LT((*shortTrack.samples)[0], 0.001f);
}

TEST_F(SamplesExtractorTest, badInputFailsOnTheMainThreadWithAReason) {
    const Outcome missing = extract(QUrl::fromLocalFile(folder.filePath("gone.mp3")), 100);
    ASSERT_TRUE(missing.error);
    EXPECT_TRUE(missing.onMainThread);
    EXPECT_EQ(missing.error->kind, SamplesExtractorError::Case::readingError);
    EXPECT_TRUE(missing.error->payload.startsWith("could not load asset: "));

    QFile text(folder.filePath("notes.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("These are notes, not music.\n").repeated(200));
    text.close();
    const Outcome notAudio = extract(QUrl::fromLocalFile(text.fileName()), 100);
    ASSERT_TRUE(notAudio.error);
    EXPECT_TRUE(
        notAudio.error->description().startsWith("readingError(message: \"could not load asset: "));

    const Outcome remote = extract(QUrl("https://example.org/a.mp3"), 100);
    ASSERT_TRUE(remote.error);
    EXPECT_EQ(remote.error->description(), "assetNotFound");

    const Outcome refused = extract(make("t.wav", testaudio::Signal::Tone, 1.0), 0);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, SamplesExtractorError::Case::readingError);
}

TEST_F(SamplesExtractorTest, newerExtractionCancelsTheOlder) {
    const QUrl tone = make("t.mp3", testaudio::Signal::Tone, 20.0);
    SamplesExtractor extractor;
    Outcome older;
    Outcome newer;
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    older.request(extractor, tone, 500, nullptr);
    newer.request(extractor, tone, 50, &loop);
    loop.exec();
    ASSERT_TRUE(newer.samples);
    EXPECT_GE(newer.samples->size(), 50u);
    EXPECT_LE(newer.samples->size(), 51u);

    // Whatever the older job still posts is delivered now and must be dropped.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_FALSE(older.samples);
    EXPECT_FALSE(older.error);
}
