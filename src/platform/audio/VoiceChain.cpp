#include "platform/audio/VoiceChain.h"

#include "platform/audio/AudioBlockRing.h"
#include "platform/audio/AudioDecoder.h"
#include "platform/audio/TimeStretcher.h"

#include <SDL2/SDL_audio.h>
#include <algorithm>
#include <cmath>

namespace {
constexpr int chunkFrames = 1024;
// Long enough to hide the seam between the plain and the stretched signal, short enough that
// the two still line up (about 6 ms).
constexpr int fadeFrames = 256;
constexpr int64_t stretchLeadIn = 2048;
// Source frames by which the labels may differ from the stretcher's output and still be taken as
// the same place (its hops round to whole frames).
constexpr double settledGap = 4.0;
} // namespace

VoiceChain::VoiceChain(std::unique_ptr<AudioDecoder> source)
    : decoder(std::move(source)), _sourceRate(decoder->sampleRate()),
      sourceChannels(decoder->channels()), _frameCount(decoder->frameCount()),
      chunk(size_t(chunkFrames * sourceChannels)) {}

VoiceChain::~VoiceChain() {
    if (converter)
        SDL_FreeAudioStream(converter);
}

void VoiceChain::restart(int64_t frame, double newRate, AudioFormat format) {
    if (!converter || !(format == device)) {
        if (converter)
            SDL_FreeAudioStream(converter);
        converter = SDL_NewAudioStream(AUDIO_F32SYS, Uint8(sourceChannels), _sourceRate,
                                       AUDIO_F32SYS, Uint8(format.channels), format.sampleRate);
        device = format;
    } else {
        SDL_AudioStreamClear(converter);
    }
    frame = std::clamp<int64_t>(frame, 0, _frameCount);
    _failed = !converter || !decoder->seek(frame);
    flushed = _failed;
    decodePos = frame;
    rate = requestedRate = newRate;
    stretching = rate != 1.0;
    if (stretching && !_failed)
        startStretching();
    stretchedPut = 0;
    deviceFrames = 0;
    segments.clear();
    fadeTail.clear();
    fadePos = 0;
}

VoiceChain::Fill VoiceChain::fill(AudioBlockRing& ring, int targetBlocks) {
    if (requestedRate != rate && !flushed)
        switchRate(requestedRate);
    const int frameBytes = device.channels * int(sizeof(float));
    while (ring.readyBlocks() < targetBlocks) {
        const int ready = converter ? SDL_AudioStreamAvailable(converter) / frameBytes : 0;
        if (ready >= AudioBlockRing::blockFrames || (flushed && ready > 0)) {
            pushBlock(ring, std::min(ready, AudioBlockRing::blockFrames));
            continue;
        }
        if (flushed)
            return Fill::Ended;
        double sourceFrame = 0;
        double sourcePerFrame = 1;
        const int frames = produce(sourceFrame, sourcePerFrame);
        if (frames > 0) {
            crossFade(frames);
            convert(frames, sourceFrame, sourcePerFrame);
        } else {
            _failed = frames < 0;
            SDL_AudioStreamFlush(converter);
            flushed = true;
        }
    }
    return Fill::More;
}

// One chunk of the stretched stream, in the source format, into `chunk`: its length (0 at the
// end of the file, -1 when decoding fails), where it starts in the source and how far each of
// its frames advances the source.
int VoiceChain::produce(double& sourceFrame, double& sourcePerFrame) {
    if (!stretching) {
        const int64_t frames = decoder->readFloat(chunk.data(), chunkFrames);
        if (frames <= 0)
            return int(frames);
        sourceFrame = double(decodePos);
        sourcePerFrame = 1.0;
        decodePos += frames;
        return int(frames);
    }
    for (;;) {
        // The stretcher rings on past the last input; what lies beyond the source's end in
        // output time is that tail, not music.
        const int left = int(std::ceil((double(_frameCount) - stretchPos) / stretcher->rate()));
        const int ready = std::min(stretcher->available(), left);
        if (ready <= 0 && (left <= 0 || stretcher->available() < 0))
            return 0;
        if (ready > 0 && dropOutput > 0) {
            dropOutput -=
                stretcher->retrieve(chunk.data(), std::min({ready, chunkFrames, dropOutput}));
            continue;
        }
        if (ready > 0) {
            // Where in the source the frame about to be retrieved lies: what has been fed, less
            // the stretcher's latency and the output waiting before that frame.
            const std::optional<double> latency = stretcher->latency();
            const double gap = latency && !stretcher->inputEnded()
                                   ? double(decodePos) - *latency -
                                         stretcher->available() * stretcher->rate() - stretchPos
                                   : 0.0;
            const int frames = stretcher->retrieve(chunk.data(), std::min(ready, chunkFrames));
            sourceFrame = stretchPos;
            sourcePerFrame = std::max(0.0, stretcher->rate() + glide(gap, frames) / frames);
            stretchPos += frames * sourcePerFrame;
            return frames;
        }
        const int wanted = stretcher->framesWanted();
        input.resize(size_t(wanted * sourceChannels));
        const int64_t frames = decoder->readFloat(input.data(), wanted);
        if (frames < 0)
            return -1;
        decodePos += frames;
        // The end must ride on the last real block: a final call without frames makes the
        // stretcher drop its tail.
        stretcher->process(input.data(), int(frames), frames == 0 || decodePos >= _frameCount);
    }
}

// The part of `gap` (source frames from the labels to where the stretcher's output stands) to
// close over the next `frames` stretched frames. A rate change moves the stretcher's latency and
// its output takes about one start delay to move over; the labels follow over the same span, so
// the position neither jumps nor stalls. A gap within rounding closes at once.
double VoiceChain::glide(double gap, int frames) {
    if (glideLeft <= 0 && std::abs(gap) > settledGap)
        glideLeft = stretcher->startDelay();
    if (glideLeft <= 0)
        return gap;
    const double part = gap * std::min(1.0, double(frames) / glideLeft);
    glideLeft -= frames;
    return part;
}

// Brings the stretcher in or out (or just retunes it). The old path's next few milliseconds
// are kept as a tail that the new path's first frames fade over.
void VoiceChain::switchRate(double newRate) {
    if (stretching && newRate != 1.0) {
        stretcher->setRate(newRate);
        rate = newRate;
        return;
    }
    const double from = stretching ? stretchPos : double(decodePos);
    fadeTail.clear();
    while (fadeTail.size() < size_t(fadeFrames * sourceChannels)) {
        double ignoredFrame = 0;
        double ignoredStep = 0;
        const int frames = produce(ignoredFrame, ignoredStep);
        if (frames <= 0)
            break;
        const size_t wanted = size_t(fadeFrames * sourceChannels) - fadeTail.size();
        const size_t take = std::min(wanted, size_t(frames * sourceChannels));
        fadeTail.insert(fadeTail.end(), chunk.begin(), chunk.begin() + ptrdiff_t(take));
    }
    fadePos = 0;
    decodePos = std::min<int64_t>(std::llround(from), _frameCount);
    if (!decoder->seek(decodePos)) {
        _failed = true;
        SDL_AudioStreamFlush(converter);
        flushed = true;
        return;
    }
    rate = newRate;
    stretching = rate != 1.0;
    if (stretching)
        startStretching();
}

// The stretcher's first output after a start wobbles; it is started a little before the
// decoder's position and that lead-in is dropped, so what is heard is its settled output.
void VoiceChain::startStretching() {
    if (!stretcher)
        stretcher = std::make_unique<TimeStretcher>(_sourceRate, sourceChannels);
    stretcher->restart(rate);
    stretchPos = double(decodePos);
    glideLeft = 0;
    const int64_t leadIn = std::min<int64_t>(decodePos, stretchLeadIn);
    if (leadIn > 0 && decoder->seek(decodePos - leadIn)) {
        decodePos -= leadIn;
        dropOutput = int(std::llround(double(leadIn) / rate));
    } else {
        dropOutput = 0;
    }
}

void VoiceChain::crossFade(int frames) {
    const size_t tailFrames = fadeTail.size() / size_t(sourceChannels);
    for (int i = 0; i < frames && fadePos < tailFrames; ++i, ++fadePos) {
        const float in = float(fadePos + 1) / float(tailFrames + 1);
        for (int c = 0; c < sourceChannels; ++c) {
            float& sample = chunk[size_t(i * sourceChannels + c)];
            sample =
                sample * in + fadeTail[fadePos * size_t(sourceChannels) + size_t(c)] * (1 - in);
        }
    }
}

void VoiceChain::convert(int frames, double sourceFrame, double sourcePerFrame) {
    segments.push_back({stretchedPut, sourceFrame, sourcePerFrame});
    SDL_AudioStreamPut(converter, chunk.data(), frames * sourceChannels * int(sizeof(float)));
    stretchedPut += frames;
}

void VoiceChain::pushBlock(AudioBlockRing& ring, int frames) {
    AudioBlock* block = ring.beginWrite();
    const int frameBytes = device.channels * int(sizeof(float));
    const int got = SDL_AudioStreamGet(converter, block->samples, frames * frameBytes);
    block->frames = std::max(0, got) / frameBytes;
    const double stretchedPerDevice = double(_sourceRate) / device.sampleRate;
    const double first = double(deviceFrames) * stretchedPerDevice;
    while (segments.size() > 1 && double(segments[1].start) <= first)
        segments.pop_front();
    // A block may span runs of different speeds: its slope is the average over it, so the
    // positions of consecutive blocks join up.
    const double from = sourceAt(first);
    const double to = sourceAt(double(deviceFrames + block->frames) * stretchedPerDevice);
    block->sourceFrame = std::min(from, double(_frameCount));
    block->sourcePerFrame = block->frames > 0 ? (to - from) / block->frames : 0.0;
    deviceFrames += block->frames;
    ring.commitWrite();
}

double VoiceChain::sourceAt(double stretched) const {
    const auto after =
        std::find_if(segments.begin(), segments.end(),
                     [stretched](const Segment& s) { return double(s.start) > stretched; });
    const Segment& segment = after == segments.begin() ? *after : *std::prev(after);
    return segment.sourceFrame + (stretched - double(segment.start)) * segment.sourcePerFrame;
}
