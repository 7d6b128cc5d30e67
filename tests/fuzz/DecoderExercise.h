#pragma once
// Reads an opened decoder as its users do: the length, blocks of both sample types to the end,
// and a seek back into the middle. Checks the promises the engine and the waveform rely on.

#include "FuzzCheck.h"
#include "platform/audio/AudioDecoder.h"

#include <vector>

inline void exerciseDecoder(AudioDecoder& decoder) {
    require(decoder.sampleRate() > 0 && decoder.channels() > 0, "a rate and channels");
    const int64_t length = decoder.frameCount();
    require(length > 0, "a positive length");
    constexpr int64_t blockFrames = 1024;
    // Enough for any file of a fuzzed size (inputs are at most 4 KiB, which hold no more than
    // about 40,000 frames of MPEG audio); a header may claim far more, and the silence the
    // decoder gives up to a claimed length takes seconds to read under the sanitizers.
    constexpr int64_t mostFrames = int64_t(1) << 18;
    std::vector<float> floats(size_t(blockFrames) * size_t(decoder.channels()));
    std::vector<int16_t> ints(floats.size());
    int64_t total = 0;
    for (int block = 0; total < mostFrames; ++block) {
        const int64_t read = block % 2 == 0 ? decoder.readFloat(floats.data(), blockFrames)
                                            : decoder.readInt16(ints.data(), blockFrames);
        require(read >= -1 && read <= blockFrames, "a read gives at most the frames asked for");
        if (read <= 0)
            break;
        total += read;
    }
    require(total <= length, "no more frames than the length");
    if (decoder.seek(length / 2))
        require(decoder.readFloat(floats.data(), blockFrames) <= blockFrames,
                "a read after a seek gives at most the frames asked for");
}
