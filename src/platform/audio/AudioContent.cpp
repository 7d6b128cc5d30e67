#include "platform/audio/AudioContent.h"

#include "platform/audio/MpegFrameHeader.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// How far past the start (or the ID3 tag) the first frame may sit: encoders and taggers leave
// some padding, and libmpg123 skips that much junk itself.
constexpr qsizetype syncSearchBytes = 4096;
// The longest MPEG audio frame (MPEG-2.5 layer II at 160 kbit/s and 8 kHz).
constexpr qsizetype longestFrame = 2881;
// Frames in a row that make a stream; a random match of three chained headers is far rarer than
// any real file.
constexpr int framesInARow = 3;

bool startsWith(const QByteArray& head, qsizetype at, const char* magic) {
    return head.mid(at, qsizetype(std::strlen(magic))) == magic;
}

bool isSndfileContainer(const QByteArray& head) {
    return (startsWith(head, 0, "RIFF") && startsWith(head, 8, "WAVE")) ||
           startsWith(head, 0, "RF64") ||
           (startsWith(head, 0, "FORM") &&
            (startsWith(head, 8, "AIFF") || startsWith(head, 8, "AIFC"))) ||
           startsWith(head, 0, "fLaC") || startsWith(head, 0, "OggS");
}

// Whether frames start at `at` and follow one another up to the end of `data` or for
// `framesInARow` frames; a stream may end after its first frame only at the end of the file.
bool framesStartAt(const QByteArray& data, qsizetype at, bool endOfFile) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    std::optional<MpegFrameHeader> first;
    for (int frame = 0; frame < framesInARow; ++frame) {
        if (at == data.size() && endOfFile && frame > 0)
            return true;
        if (at + 4 > data.size())
            return false;
        const std::optional<MpegFrameHeader> header = MpegFrameHeader::parse(bytes + at);
        if (!header || (first && !first->continuesWith(*header)))
            return false;
        if (!first)
            first = header;
        at += header->frameBytes;
    }
    return true;
}

bool isMpegAudio(ByteSource& source, int64_t start) {
    const QByteArray data = source.peek(start, syncSearchBytes + framesInARow * longestFrame);
    const bool endOfFile = start + data.size() >= source.size();
    for (qsizetype at = 0; at < std::min(syncSearchBytes, data.size()); ++at)
        if (uchar(data[at]) == 0xff && framesStartAt(data, at, endOfFile))
            return true;
    return false;
}

} // namespace

AudioContent audioContentOf(ByteSource& source) {
    const QByteArray head = source.peek(0, 12);
    const int64_t tag =
        id3v2TagBytes(reinterpret_cast<const unsigned char*>(head.constData()), head.size());
    if (tag == 0 && isSndfileContainer(head))
        return AudioContent::sndfile;
    if (tag == 0 && startsWith(head, 4, "ftyp"))
        return AudioContent::other;
    return isMpegAudio(source, tag) ? AudioContent::mpegAudio : AudioContent::other;
}
