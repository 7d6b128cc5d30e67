#include "platform/audio/AudioFileTypes.h"

#include "platform/audio/AudioDecoder.h"

const QStringList& audioFileExtensions() {
    static const QStringList extensions{"mp3", "m4a", "m4b",  "aac", "wav",  "flac",
                                        "ogg", "oga", "opus", "aif", "aiff", "aifc",
                                        "caf", "wma", "wv",   "ape", "mka",  "mpc"};
    return extensions;
}

bool isReadableAudioFile(const QString& path) {
    const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(path);
    return decoder && decoder->frameCount() > 0;
}
