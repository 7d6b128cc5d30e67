#include "platform/audio/AudioVoice.h"

#include "platform/audio/AudioDecoder.h"

#include <algorithm>

namespace {
constexpr int ringBlocks = 64;
}

AudioVoice::AudioVoice(std::unique_ptr<AudioDecoder> decoder)
    : chain(std::move(decoder)), _sourceRate(chain.sourceRate()), _frameCount(chain.frameCount()) {}

void AudioVoice::start(int64_t frame, double rate, AudioFormat format, int primeBlocks) {
    if (!ring || ring->channels() != format.channels)
        ring = std::make_unique<AudioBlockRing>(ringBlocks, format.channels);
    ring->clear();
    chain.restart(frame, rate, format);
    startFrame = double(std::clamp<int64_t>(frame, 0, _frameCount));
    anchor.store({});
    drainFrame.store(-1);
    queuedToEnd.store(false);
    finishedPending.store(false);
    decodeErrorPending.store(false);
    endAnnounced = false;
    appliedVolume = volume.load();
    mixedSource = startFrame;
    feeding = true;
    feed(primeBlocks);
}

bool AudioVoice::feed(int targetBlocks) {
    if (!feeding || queuedToEnd.load(std::memory_order_relaxed))
        return feeding;
    if (chain.fill(*ring, std::min(targetBlocks, ring->capacity())) == VoiceChain::Fill::Ended) {
        if (chain.failed())
            decodeErrorPending.store(true);
        queuedToEnd.store(true, std::memory_order_release);
    }
    return true;
}

void AudioVoice::setRate(double rate) {
    chain.setRate(rate);
}

void AudioVoice::mixInto(float* out, int frames, int64_t firstFrame) {
    const int channels = ring->channels();
    const float target = volume.load(std::memory_order_relaxed);
    // A volume change glides over one buffer instead of stepping.
    const float step = (target - appliedVolume) / float(frames);
    int done = 0;
    while (done < frames) {
        const AudioBlock* block = ring->front();
        if (!block)
            break;
        const int offset = ring->frontOffset();
        const int count = std::min(frames - done, block->frames - offset);
        if (done == 0)
            publishAnchor(firstFrame, block->sourceFrame + offset * block->sourcePerFrame,
                          block->sourcePerFrame);
        const float* in = block->samples + offset * channels;
        float* into = out + done * channels;
        for (int i = 0; i < count; ++i) {
            appliedVolume += step;
            for (int c = 0; c < channels; ++c)
                into[i * channels + c] += in[i * channels + c] * appliedVolume;
        }
        mixedSource = block->sourceFrame + (offset + count) * block->sourcePerFrame;
        ring->consume(count);
        done += count;
    }
    appliedVolume = target;
    // The ring is only known to be drained for good once the feeder has said nothing follows;
    // test that first so a block committed in between is not mistaken for the end.
    if (done < frames && queuedToEnd.load(std::memory_order_acquire) && !ring->front() &&
        drainFrame.load(std::memory_order_relaxed) < 0) {
        drainSource.store(mixedSource, std::memory_order_relaxed);
        drainFrame.store(firstFrame + done, std::memory_order_release);
    }
}

void AudioVoice::publishAnchor(int64_t outputFrame, double sourceFrame, double sourcePerFrame) {
    anchor.store({double(outputFrame), sourceFrame, sourcePerFrame, 1.0});
}

double AudioVoice::heardSourceFrame(double heardFrame) const {
    const Anchor heard = anchor.load();
    const double from = startFrame.load(std::memory_order_relaxed);
    if (heard.valid == 0)
        return from;
    // A file that stops decoding early ends where its sound ended, not at its nominal length.
    const double end =
        drainedAt() ? drainSource.load(std::memory_order_relaxed) : double(_frameCount);
    return std::clamp(heard.source + (heardFrame - heard.output) * heard.step, from,
                      std::max(from, end));
}

std::optional<int64_t> AudioVoice::drainedAt() const {
    const int64_t frame = drainFrame.load(std::memory_order_acquire);
    if (frame < 0)
        return std::nullopt;
    return frame;
}
