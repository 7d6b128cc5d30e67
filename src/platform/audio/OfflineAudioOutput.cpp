#include "platform/audio/OfflineAudioOutput.h"

#include <algorithm>
#include <cmath>

std::vector<float> OfflineAudioOutput::render(int frames) {
    std::vector<float> out(size_t(frames * _format.channels));
    // In device-sized pieces, as a callback would, so the feeder keeps the rings topped up.
    constexpr int piece = 512;
    for (int done = 0; done < frames; done += piece) {
        const int count = std::min(piece, frames - done);
        source(out.data() + done * _format.channels, count, rendered);
        rendered += count;
    }
    return out;
}

void OfflineAudioOutput::advance(double seconds) {
    render(int(std::llround(seconds * _format.sampleRate)));
}
