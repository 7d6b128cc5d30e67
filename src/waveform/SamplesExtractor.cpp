#include "waveform/SamplesExtractor.h"

#include "platform/audio/AudioDecoder.h"
#include "waveform/LoudnessReading.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace {

// Runs `deliver` on the main thread unless the extraction was cancelled in the meantime. Even
// every failure goes through here, so a caller never sees its callback inside its own call.
template <class Deliver> void post(std::shared_ptr<std::atomic<bool>> cancelled, Deliver deliver) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [cancelled = std::move(cancelled), deliver = std::move(deliver)] {
            if (!cancelled->load())
                deliver();
        },
        Qt::QueuedConnection);
}

} // namespace

SamplesExtractor::SamplesExtractor() : _cancelled(std::make_shared<std::atomic<bool>>(false)) {}

SamplesExtractor::~SamplesExtractor() {
    _cancelled->store(true);
}

void SamplesExtractor::extractSamples(const QUrl& track, std::optional<TimeRange> timeRange,
                                      int desiredNumberOfSamples, OnSuccess onSuccess,
                                      OnFailure onFailure, std::optional<QString> identifier) {
    const auto cancelled = std::make_shared<std::atomic<bool>>(false);
    _cancelled->store(true);
    _cancelled = cancelled;
    const auto fail = [cancelled, onFailure, identifier](const SamplesExtractorError& error) {
        post(cancelled, [=] { onFailure(error, identifier); });
    };

    if (!track.isLocalFile()) {
        fail(SamplesExtractorError::assetNotFound());
        return;
    }
    if (desiredNumberOfSamples < 1) {
        fail(SamplesExtractorError::readingError(
            QStringLiteral("desired number of samples must be at least 1, not %1")
                .arg(desiredNumberOfSamples)));
        return;
    }

    QThreadPool::globalInstance()->start([=, path = track.toLocalFile()] {
        if (cancelled->load())
            return;
        QString reason;
        const std::unique_ptr<AudioDecoder> decoder =
            AudioDecoder::open(path, &reason, AudioDecoder::SampleType::int16);
        if (!decoder) {
            fail(SamplesExtractorError::readingError(QStringLiteral("could not load asset: ") +
                                                     reason));
            return;
        }
        const SecondDecoder second{
            [&path] { return AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16); }};
        LoudnessReading reading =
            readLoudness(*decoder, timeRange, desiredNumberOfSamples, *cancelled, second);
        switch (reading.status) {
        case LoudnessReading::Status::cancelled:
            return;
        case LoudnessReading::Status::failed:
            // The message is followed by the reader's status, which is "failed" here.
            fail(SamplesExtractorError::readingError(
                QStringLiteral(" reading waveform audio data has failed failed")));
            return;
        case LoudnessReading::Status::completed:
            post(cancelled,
                 [onSuccess, identifier, samples = std::move(reading.samples),
                  sampleMax = reading.sampleMax] { onSuccess(samples, sampleMax, identifier); });
            return;
        }
    });
}
