#pragma once
// One file playing inside the engine. The feeder thread (or the caller, offline) fills the
// voice's ring through its VoiceChain under `feedLock`; the audio callback mixes the ring into
// the output touching only atomics and the ring, and publishes which source frames it played at
// which output frames (the last few blocks, so a frame heard a buffer ago still maps through the
// block it came from) for the position heard to be computed on any thread.

#include "platform/audio/AudioBlockRing.h"
#include "platform/audio/AudioFormat.h"
#include "platform/audio/SeqLocked.h"
#include "platform/audio/VoiceChain.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class AudioVoice {
public:
    explicit AudioVoice(std::unique_ptr<AudioDecoder> decoder);

    int sourceRate() const { return _sourceRate; }
    int64_t frameCount() const { return _frameCount; }

    // Caller holds feedLock and the callback is not mixing this voice. Positions the stream at
    // `frame` and fills `primeBlocks` blocks, so sound can start with the next callback.
    void start(int64_t frame, double rate, AudioFormat format, int primeBlocks);
    // Caller holds feedLock. Fills the ring up to `targetBlocks` unless the voice is stopped or
    // its whole file is already queued. True while the voice is sounding (or its end is still
    // to be announced).
    bool feed(int targetBlocks);
    // Caller holds feedLock. The voice stops being fed; the callback must already have let go.
    void halt() { feeding = false; }
    void setRate(double rate);

    // Audio callback: adds this voice's next `frames` frames into `out`; `firstFrame` is the
    // output clock of out[0].
    void mixInto(float* out, int frames, int64_t firstFrame);

    // Any thread: the source frame heard at output frame `heardFrame` (fractional), never before
    // where the stream started and never past its end.
    double heardSourceFrame(double heardFrame) const;
    // The output frame just after the last one the voice contributed, once it has run out.
    std::optional<int64_t> drainedAt() const;

    std::atomic<float> volume{1.0f};
    std::mutex feedLock;
    // Main thread only: called when the engine has news for this voice (end, decode error).
    std::function<void()> onEvents;
    std::atomic<bool> finishedPending{false};
    std::atomic<bool> decodeErrorPending{false};
    // Feeder: set once the voice's end has been announced, so it is announced once.
    bool endAnnounced = false;

private:
    // From output frame `output` on, the voice played source frame `source` onwards, advancing
    // `step` source frames per output frame (0 where it ran dry).
    struct Anchor {
        double output = 0;
        double source = 0;
        double step = 1;
        double valid = 0;
    };
    static constexpr size_t anchorCount = 16;
    using Anchors = std::array<Anchor, anchorCount>; // oldest first

    void remember(double output, double source, double step);

    VoiceChain chain;
    const int _sourceRate;
    const int64_t _frameCount;
    std::unique_ptr<AudioBlockRing> ring;
    bool feeding = false;
    std::atomic<double> startFrame{0};

    std::atomic<bool> queuedToEnd{false};
    std::atomic<int64_t> drainFrame{-1};
    std::atomic<double> drainSource{0}; // source position just after the last frame mixed
    float appliedVolume = 1.0f;         // callback only
    double mixedSource = 0;             // callback only: like drainSource, kept up to date
    Anchors played;                     // callback only: what `anchors` publishes

    // Written by the callback (and by start() while the callback is away).
    SeqLocked<Anchors> anchors;
};
