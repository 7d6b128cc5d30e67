#include "platform/audio/MpegFrameHeader.h"

#include <cstring>

namespace {

// Kilobits per second by bit-rate index (1 to 14), for MPEG-1 layers I, II, III and for
// MPEG-2/2.5 layer I and layers II and III.
constexpr int bitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};

constexpr int mpeg1Rates[3] = {44100, 48000, 32000};

} // namespace

std::optional<MpegFrameHeader> MpegFrameHeader::parse(const unsigned char* bytes) {
    if (bytes[0] != 0xff || (bytes[1] & 0xe0) != 0xe0)
        return std::nullopt;
    const int versionBits = (bytes[1] >> 3) & 3;
    const int layerBits = (bytes[1] >> 1) & 3;
    const int bitRateIndex = bytes[2] >> 4;
    const int rateIndex = (bytes[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitRateIndex == 0 || bitRateIndex == 15 ||
        rateIndex == 3 || (bytes[3] & 3) == 2)
        return std::nullopt;

    MpegFrameHeader header;
    header.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    header.layer = 4 - layerBits;
    header.sampleRate = mpeg1Rates[rateIndex] / (header.version == 1   ? 1
                                                 : header.version == 2 ? 2
                                                                       : 4);
    header.channels = (bytes[3] >> 6) == 3 ? 1 : 2;
    const int table = header.version == 1 ? header.layer - 1 : header.layer == 1 ? 3 : 4;
    const int64_t bitRate = int64_t(bitRates[table][bitRateIndex]) * 1000;
    const int padding = (bytes[2] >> 1) & 1;
    if (header.layer == 1)
        header.frameBytes = int((12 * bitRate / header.sampleRate + padding) * 4);
    else if (header.layer == 3 && header.version != 1)
        header.frameBytes = int(72 * bitRate / header.sampleRate + padding);
    else
        header.frameBytes = int(144 * bitRate / header.sampleRate + padding);
    return header;
}

bool MpegFrameHeader::continuesWith(const MpegFrameHeader& next) const {
    return next.version == version && next.layer == layer && next.sampleRate == sampleRate;
}

int64_t id3v2TagBytes(const unsigned char* bytes, int64_t size) {
    if (size < 10 || std::memcmp(bytes, "ID3", 3) != 0)
        return 0;
    const unsigned char* length = bytes + 6;
    if ((length[0] | length[1] | length[2] | length[3]) & 0x80)
        return 0;
    const bool footer = (bytes[5] & 0x10) != 0;
    return 10 + (footer ? 10 : 0) +
           (int64_t(length[0]) << 21 | int64_t(length[1]) << 14 | int64_t(length[2]) << 7 |
            int64_t(length[3]));
}
