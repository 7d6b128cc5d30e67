#pragma once
// The four-byte header that starts every MPEG audio frame, and the ID3v2 tag that may come
// before the first one. Knowing a frame's length from its header is what lets a reader tell real
// MPEG audio (frames that follow one another) from a stray sync pattern inside other data.

#include <cstdint>
#include <optional>

struct MpegFrameHeader {
    int version = 1; // 1, 2, or 25 for MPEG-2.5
    int layer = 3;
    int sampleRate = 0;
    int channels = 2;
    int frameBytes = 0;

    // None unless the four bytes are a complete, valid header of a frame of known length (free
    // format, reserved values and the layer bits of AAC's ADTS header are all refused).
    static std::optional<MpegFrameHeader> parse(const unsigned char* bytes);

    // Whether a frame with this header may be followed by one with `next`: a stream keeps its
    // version, layer and rate.
    bool continuesWith(const MpegFrameHeader& next) const;
};

// The byte count of the ID3v2 tag at the start of `bytes` (header, body and footer); 0 without
// one. `size` must be at least 10.
int64_t id3v2TagBytes(const unsigned char* bytes, int64_t size);
