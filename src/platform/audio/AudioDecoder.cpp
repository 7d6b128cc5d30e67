#include "platform/audio/AudioDecoder.h"

#include "platform/Diagnostics.h"
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

    if (info.suffix().compare("mp3", Qt::CaseInsensitive) == 0)
        return Mpg123Decoder::open(path, error, preferred);
    QString sndfileError;
    if (auto decoder = SndfileDecoder::open(path, &sndfileError))
        return decoder;
    // An MP3 saved under another name is still worth playing.
    if (auto decoder = Mpg123Decoder::open(path, nullptr, preferred))
        return decoder;
    return fail(sndfileError);
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
