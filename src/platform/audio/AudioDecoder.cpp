#include "platform/audio/AudioDecoder.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioContent.h"
#include "platform/audio/FfmpegDecoder.h"
#include "platform/audio/Mpg123Decoder.h"
#include "platform/audio/SndfileDecoder.h"

#include <QFileInfo>

namespace {
std::nullptr_t fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return nullptr;
}
} // namespace

std::unique_ptr<AudioDecoder> AudioDecoder::open(const QString& path, QString* error,
                                                 SampleType preferred) {
    const QFileInfo info(path);
    if (!info.exists())
        return fail(error, "no such file");
    if (!info.isFile())
        return fail(error, "not a file");
    std::unique_ptr<ByteSource> source = ByteSource::openFile(path, error);
    return source ? open(std::move(source), error, preferred) : nullptr;
}

std::unique_ptr<AudioDecoder> AudioDecoder::open(std::unique_ptr<ByteSource> source, QString* error,
                                                 SampleType preferred) {
    if (source->size() == 0)
        return fail(error, "empty file");
    switch (audioContentOf(*source)) {
    case AudioContent::mpegAudio:
        return Mpg123Decoder::open(std::move(source), error, preferred);
    case AudioContent::sndfile:
        return SndfileDecoder::open(std::move(source), error);
    case AudioContent::other:
        break;
    }
    // MPEG audio that its first bytes did not show (junk before the first frame) is still read
    // through libmpg123, for its exact length.
    std::unique_ptr<ByteSource> again = source->reopen(error);
    if (!again)
        return nullptr;
    auto decoder = FfmpegDecoder::open(std::move(source), error);
    if (decoder && decoder->isBareMpegAudio())
        return Mpg123Decoder::open(std::move(again), error, preferred);
    return decoder;
}

std::optional<double> audioFileDuration(const QString& path, QString* reason) {
    QString error;
    const auto decoder = AudioDecoder::open(path, &error);
    if (!decoder) {
        printLine(QString("Can't read audio file %1: %2").arg(path, error));
        if (reason)
            *reason = error;
        return std::nullopt;
    }
    return decoder->duration();
}
