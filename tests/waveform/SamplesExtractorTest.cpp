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

struct Outcome {
    std::optional<std::vector<float>> samples;
    float sampleMax = 0;
    std::optional<SamplesExtractorError> error;
    std::optional<QString> identifier;
    bool onMainThread = false;
};

SamplesExtractor::OnSuccess recordSuccess(Outcome& outcome, QEventLoop* loop) {
    return [&outcome, loop](const std::vector<float>& samples, float sampleMax,
                            const std::optional<QString>& identifier) {
        outcome.samples = samples;
        outcome.sampleMax = sampleMax;
        outcome.identifier = identifier;
        outcome.onMainThread = QThread::currentThread() == qApp->thread();
        if (loop)
            loop->quit();
    };
}

SamplesExtractor::OnFailure recordFailure(Outcome& outcome, QEventLoop* loop) {
    return [&outcome, loop](const SamplesExtractorError& error,
                            const std::optional<QString>& identifier) {
        outcome.error = error;
        outcome.identifier = identifier;
        outcome.onMainThread = QThread::currentThread() == qApp->thread();
        if (loop)
            loop->quit();
    };
}

testaudio::Spec audio(testaudio::Signal signal, double seconds) {
    testaudio::Spec spec;
    spec.signal = signal;
    spec.seconds = seconds;
    return spec;
}

// Runs one extraction to its callback. The timer only keeps a broken build from hanging.
Outcome extract(const QUrl& track, int desired,
                std::optional<SamplesExtractor::TimeRange> timeRange = {},
                std::optional<QString> identifier = {}) {
    SamplesExtractor extractor;
    Outcome outcome;
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    extractor.extractSamples(track, timeRange, desired, recordSuccess(outcome, &loop),
                             recordFailure(outcome, &loop), identifier);
    loop.exec();
    return outcome;
}

class SamplesExtractorTest : public testing::Test {
protected:
    QUrl make(const testaudio::Spec& spec, testaudio::Container container, const QString& name) {
        const QString path = folder.filePath(name);
        QString error;
        EXPECT_TRUE(testaudio::write(spec, container, path, &error)) << error.toStdString();
        return QUrl::fromLocalFile(path);
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(SamplesExtractorTest, silenceGivesOnesAndAFullScaleSquareWaveNearZero) {
    const QUrl silence =
        make(audio(testaudio::Signal::Silence, 3.0), testaudio::Container::Wav, "s.wav");
    const Outcome quiet = extract(silence, 200, {}, QStringLiteral("view"));
    ASSERT_TRUE(quiet.samples);
    EXPECT_TRUE(quiet.onMainThread);
    EXPECT_EQ(quiet.identifier, QStringLiteral("view"));
    EXPECT_GE(quiet.samples->size(), 200u);
    EXPECT_LE(quiet.samples->size(), 201u);
    for (float value : *quiet.samples)
        EXPECT_FLOAT_EQ(value, 1.0f);
    EXPECT_FLOAT_EQ(quiet.sampleMax, -50.0f);

    testaudio::Spec square = audio(testaudio::Signal::Square, 4.0);
    square.frequency = 100;
    for (const auto& [container, name, limit] :
         {std::tuple{testaudio::Container::Wav, "q.wav", 0.001f},
          std::tuple{testaudio::Container::Mp3Cbr, "q.mp3", 0.05f}}) {
        const Outcome outcome = extract(make(square, container, name), 100);
        ASSERT_TRUE(outcome.samples) << name;
        for (float value : *outcome.samples) {
            EXPECT_GE(value, 0.0f) << name;
            EXPECT_LT(value, limit) << name;
        }
        EXPECT_GT(outcome.sampleMax, -50.0f * limit) << name;
    }
}

TEST_F(SamplesExtractorTest, stereoAndMonoGiveTheSameCountAndAShortTrackOneValue) {
    testaudio::Spec tone = audio(testaudio::Signal::Tone, 30.0);
    tone.channels = 2;
    const QUrl stereo = make(tone, testaudio::Container::Mp3Cbr, "stereo.mp3");
    tone.channels = 1;
    const QUrl mono = make(tone, testaudio::Container::Mp3Cbr, "mono.mp3");
    const QUrl monoWav = make(tone, testaudio::Container::Wav, "mono.wav");
    for (int desired : {1000, 333, 1}) {
        const Outcome fromStereo = extract(stereo, desired);
        const Outcome fromMono = extract(mono, desired);
        const Outcome fromWav = extract(monoWav, desired);
        ASSERT_TRUE(fromStereo.samples && fromMono.samples && fromWav.samples);
        EXPECT_GE(fromStereo.samples->size(), size_t(desired));
        EXPECT_LE(fromStereo.samples->size(), size_t(desired) + 1);
        EXPECT_EQ(fromStereo.samples->size(), fromMono.samples->size());
        EXPECT_EQ(fromWav.samples->size(), fromMono.samples->size());
        // A tone at half scale: a steady level well above the floor.
        const float middle = (*fromMono.samples)[fromMono.samples->size() / 2];
        EXPECT_GT(middle, 0.1f);
        EXPECT_LT(middle, 0.5f);
        EXPECT_NEAR((*fromStereo.samples)[fromStereo.samples->size() / 2], middle, 0.01f);
    }

    // Ten seconds in two blocks: the 0.1 s there is falls short of the first.
    const QUrl square =
        make(audio(testaudio::Signal::Square, 0.1), testaudio::Container::Wav, "q.wav");
    const Outcome shortTrack = extract(square, 2, SamplesExtractor::TimeRange{0.0, 10.0});
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

    const QUrl tone = make(audio(testaudio::Signal::Tone, 1.0), testaudio::Container::Wav, "t.wav");
    const Outcome refused = extract(tone, 0);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, SamplesExtractorError::Case::readingError);
}

TEST_F(SamplesExtractorTest, newerExtractionCancelsTheOlder) {
    const QUrl tone =
        make(audio(testaudio::Signal::Tone, 20.0), testaudio::Container::Mp3Cbr, "t.mp3");
    SamplesExtractor extractor;
    Outcome older;
    Outcome newer;
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    extractor.extractSamples(tone, {}, 500, recordSuccess(older, nullptr),
                             recordFailure(older, nullptr));
    extractor.extractSamples(tone, {}, 50, recordSuccess(newer, &loop),
                             recordFailure(newer, &loop));
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
