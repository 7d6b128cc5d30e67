#include "platform/audio/TimeStretcher.h"

#include <algorithm>
#include <rubberband/RubberBandStretcher.h>

using RubberBand::RubberBandStretcher;

namespace {
std::unique_ptr<RubberBandStretcher> makeStretcher(int sampleRate, int channels, int maxBlock) {
    auto stretcher = std::make_unique<RubberBandStretcher>(
        size_t(sampleRate), size_t(channels),
        RubberBandStretcher::OptionProcessRealTime | RubberBandStretcher::OptionEngineFiner |
            RubberBandStretcher::OptionWindowShort | RubberBandStretcher::OptionPitchHighQuality |
            RubberBandStretcher::OptionChannelsTogether |
            RubberBandStretcher::OptionThreadingNever);
    stretcher->setMaxProcessSize(size_t(maxBlock));
    return stretcher;
}
} // namespace

TimeStretcher::TimeStretcher(int sampleRate, int channels)
    : sampleRate(sampleRate), channels(channels),
      planar(size_t(channels), std::vector<float>(maxBlock)), pointers(size_t(channels)) {
    for (int c = 0; c < channels; ++c)
        pointers[size_t(c)] = planar[size_t(c)].data();
}

TimeStretcher::~TimeStretcher() = default;

void TimeStretcher::restart(double rate) {
    if (stretcher)
        stretcher->reset();
    else
        stretcher = makeStretcher(sampleRate, channels, maxBlock);
    setRate(rate);
    finalSent = false;
    // Without the pad the first output would fade in from the stretcher's empty window; the
    // delay is the output that the pad (not the source) produces.
    int pad = int(stretcher->getPreferredStartPad());
    for (auto& channel : planar)
        std::fill(channel.begin(), channel.end(), 0.0f);
    while (pad > 0) {
        const int n = std::min(pad, maxBlock);
        processPlanar(n, false);
        pad -= n;
    }
    _startDelay = int(stretcher->getStartDelay());
    delayToDrop = _startDelay;
}

std::optional<double> TimeStretcher::latency() const {
    if (!required)
        return std::nullopt;
    return _startDelay * (1 + _rate) - *required;
}

void TimeStretcher::setRate(double rate) {
    _rate = rate;
    stretcher->setTimeRatio(1.0 / rate);
    required.reset();
}

int TimeStretcher::framesWanted() const {
    return std::clamp(int(stretcher->getSamplesRequired()), 256, maxBlock);
}

void TimeStretcher::process(const float* interleaved, int frames, bool final) {
    do {
        const int n = std::min(frames, maxBlock);
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                planar[size_t(c)][size_t(i)] = interleaved[i * channels + c];
        interleaved += n * channels;
        frames -= n;
        processPlanar(n, final && frames == 0);
    } while (frames > 0);
}

void TimeStretcher::processPlanar(int frames, bool final) {
    stretcher->process(pointers.data(), size_t(frames), final);
    finalSent = finalSent || final;
}

int TimeStretcher::available() const {
    const int ready = stretcher->available();
    if (ready < 0 || (finalSent && ready == 0))
        return -1;
    return std::max(0, ready - delayToDrop);
}

int TimeStretcher::retrieve(float* interleaved, int frames) {
    while (delayToDrop > 0) {
        const int ready = stretcher->available();
        const int n = std::min({delayToDrop, maxBlock, ready});
        if (n <= 0)
            return 0;
        stretcher->retrieve(pointers.data(), size_t(n));
        delayToDrop -= n;
    }
    int done = 0;
    while (done < frames) {
        const int n = std::min({frames - done, maxBlock, stretcher->available()});
        if (n <= 0)
            break;
        const int got = int(stretcher->retrieve(pointers.data(), size_t(n)));
        for (int i = 0; i < got; ++i)
            for (int c = 0; c < channels; ++c)
                interleaved[(done + i) * channels + c] = planar[size_t(c)][size_t(i)];
        done += got;
    }
    // The stretcher asks for input only once its output is taken: that is when it tells how much
    // each step takes at this rate.
    if (stretcher->available() == 0)
        required = int(stretcher->getSamplesRequired());
    return done;
}
