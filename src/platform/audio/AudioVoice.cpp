#include "platform/audio/AudioVoice.h"

#include "platform/audio/AudioDecoder.h"

#include <algorithm>
#include <cmath>

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
    played = {};
    anchors.store(played);
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
        remember(double(firstFrame + done), block->sourceFrame + offset * block->sourcePerFrame,
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
    // Run dry (or ended): nothing more of the source is heard until the next block.
    if (done < frames)
        remember(double(firstFrame + done), mixedSource, 0.0);
    anchors.store(played);
    // The ring is only known to be drained for good once the feeder has said nothing follows;
    // test that first so a block committed in between is not mistaken for the end.
    if (done < frames && queuedToEnd.load(std::memory_order_acquire) && !ring->front() &&
        drainFrame.load(std::memory_order_relaxed) < 0) {
        drainSource.store(mixedSource, std::memory_order_relaxed);
        drainFrame.store(firstFrame + done, std::memory_order_release);
    }
}

void AudioVoice::remember(double output, double source, double step) {
    const Anchor& last = played.back();
    // A block that goes on where the last one left off adds nothing.
    if (last.valid != 0 && last.step == step &&
        std::abs(last.source + (output - last.output) * step - source) < 1e-6)
        return;
    std::shift_left(played.begin(), played.end(), 1);
    played.back() = {output, source, step, 1.0};
}

double AudioVoice::heardSourceFrame(double heardFrame) const {
    const Anchors known = anchors.load();
    const double from = startFrame.load(std::memory_order_relaxed);
    // The newest anchor at or before the frame heard; the oldest one when the frame is older
    // still.
    const Anchor* heard = nullptr;
    for (const Anchor& anchor : known) {
        if (anchor.valid == 0)
            continue;
        if (!heard || anchor.output <= heardFrame)
            heard = &anchor;
        else
            break;
    }
    if (!heard)
        return from;
    // A file that stops decoding early ends where its sound ended, not at its nominal length.
    const double end =
        drainedAt() ? std::min(drainSource.load(std::memory_order_relaxed), double(_frameCount))
                    : double(_frameCount);
    return std::clamp(heard->source + (heardFrame - heard->output) * heard->step, from,
                      std::max(from, end));
}

std::optional<int64_t> AudioVoice::drainedAt() const {
    const int64_t frame = drainFrame.load(std::memory_order_acquire);
    if (frame < 0)
        return std::nullopt;
    return frame;
}
