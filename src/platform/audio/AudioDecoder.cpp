#include "platform/audio/AudioDecoder.h"

#include "platform/Diagnostics.h"
#include "platform/audio/AudioContent.h"
#include "platform/audio/FfmpegDecoder.h"
#include "platform/audio/Mpg123Decoder.h"
#include "platform/audio/SndfileDecoder.h"

#include <QFileInfo>

std::unique_ptr<AudioDecoder> AudioDecoder::open(const QString& path, QString* error,
                                                 SampleType preferred) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return nullptr;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail("no such file");
    if (!info.isFile())
        return fail("not a file");
    if (info.size() == 0)
        return fail("empty file");

    switch (audioContentOf(path)) {
    case AudioContent::mpegAudio:
        return Mpg123Decoder::open(path, error, preferred);
    case AudioContent::sndfile:
        return SndfileDecoder::open(path, error);
    case AudioContent::unreadable:
        return fail("cannot open the file");
    case AudioContent::other:
        break;
    }
    auto decoder = FfmpegDecoder::open(path, error);
    // MPEG audio that its first bytes did not show (junk before the first frame) is still read
    // through libmpg123, for its exact length.
    if (decoder && decoder->isBareMpegAudio())
        return Mpg123Decoder::open(path, error, preferred);
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
