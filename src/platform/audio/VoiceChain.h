#pragma once
// The feeder's half of one voice: decoder -> stretcher (only when the rate is not exactly 1.0)
// -> conversion to the device's rate and channels, cut into ring blocks that carry their
// source position. A rate change that brings the stretcher in or takes it out is cross-faded
// over a few milliseconds so it cannot click. Runs on the feeder thread (or under the voice's
// lock on the main thread), never in the audio callback.

#include "platform/audio/AudioFormat.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class AudioBlockRing;
class AudioDecoder;
class TimeStretcher;
struct _SDL_AudioStream;

class VoiceChain {
public:
    explicit VoiceChain(std::unique_ptr<AudioDecoder> decoder);
    ~VoiceChain();
    VoiceChain(const VoiceChain&) = delete;
    VoiceChain& operator=(const VoiceChain&) = delete;

    int sourceRate() const { return _sourceRate; }
    int64_t frameCount() const { return _frameCount; }

    // Starts the stream over at source frame `frame`, played at `rate`, for `device`.
    void restart(int64_t frame, double rate, AudioFormat device);
    // The rate for the frames produced from the next fill on.
    void setRate(double rate) { requestedRate = rate; }

    enum class Fill { More, Ended };
    // Writes blocks until the ring holds `targetBlocks` (More) or the last block of the file is
    // in it (Ended).
    Fill fill(AudioBlockRing& ring, int targetBlocks);
    // True when the stream ended early because the file could not be decoded.
    bool failed() const { return _failed; }

private:
    // A run of stretched frames that all advance the source by the same amount.
    struct Segment {
        int64_t start;         // first stretched frame of the run
        double sourceFrame;    // its source position
        double sourcePerFrame; // source frames per stretched frame
    };

    int produce(double& sourceFrame, double& sourcePerFrame);
    double glide(double gap, int frames);
    void switchRate(double rate);
    void startStretching();
    void crossFade(int frames);
    void convert(int frames, double sourceFrame, double sourcePerFrame);
    void pushBlock(AudioBlockRing& ring, int frames);
    // The source position of stretched frame `stretched`, from the runs still kept.
    double sourceAt(double stretched) const;

    std::unique_ptr<AudioDecoder> decoder;
    std::unique_ptr<TimeStretcher> stretcher;
    _SDL_AudioStream* converter = nullptr;
    AudioFormat device;
    int _sourceRate;
    int sourceChannels;
    int64_t _frameCount;

    double rate = 1.0;
    double requestedRate = 1.0;
    bool stretching = false;
    int64_t decodePos = 0;    // next source frame the decoder gives
    double stretchPos = 0;    // source position of the stretcher's next output frame
    int dropOutput = 0;       // stretcher output still to discard (its lead-in)
    int glideLeft = 0;        // stretched frames over which the labels still move to the output
    int64_t stretchedPut = 0; // frames handed to the converter since the restart
    int64_t deviceFrames = 0; // frames taken from the converter since the restart
    std::deque<Segment> segments;
    bool flushed = false;
    bool _failed = false;

    std::vector<float> chunk;
    std::vector<float> input;
    std::vector<float> fadeTail; // the old chain's continuation while a rate switch fades
    size_t fadePos = 0;
};
