#pragma once
// Tempo change with the pitch kept, for one voice: Rubber Band's real-time stretcher (R3 engine,
// short window) behind interleaved float buffers. It hides the stretcher's start-up: after
// restart(), output frame 0 is input frame 0. Used on the feeder thread only, never in the audio
// callback (process and retrieve may allocate on a rate change).

#include <memory>
#include <optional>
#include <vector>

namespace RubberBand {
class RubberBandStretcher;
}

class TimeStretcher {
public:
    TimeStretcher(int sampleRate, int channels);
    ~TimeStretcher();
    TimeStretcher(const TimeStretcher&) = delete;
    TimeStretcher& operator=(const TimeStretcher&) = delete;

    // Begins a new stream played at `rate` (source seconds per second heard); call before
    // anything else.
    void restart(double rate);
    // Changes the rate of the running stream; the stretcher glides to it.
    void setRate(double rate);
    double rate() const { return _rate; }

    // Input frames the stretcher wants before it can give more output (at least a small block).
    int framesWanted() const;
    // Feeds interleaved frames; `final` marks the end of the source.
    void process(const float* interleaved, int frames, bool final);
    // Output frames ready now; -1 once the final input has been retrieved in full.
    int available() const;
    // Retrieves up to `frames` interleaved frames, never more than are available.
    int retrieve(float* interleaved, int frames);

    // Input frames between the end of what has been fed and the frame that the next one retrieved
    // after the output waiting now plays, at the current rate: the start delay on the input side
    // and as many output frames (in input frames at the rate) on the output side, less what one
    // processing step takes. Checked against what is heard at rates 0.5 to 2.0; after a rate
    // change the output moves over to the new latency within about one start delay. None until
    // a step at the current rate has shown what a step takes.
    std::optional<double> latency() const;
    // Whether the end of the source has been fed: the rest of the output is then waiting, and
    // latency() no longer applies.
    bool inputEnded() const { return finalSent; }
    // Output frames the stretcher holds back at the start (and takes to settle on a new rate).
    int startDelay() const { return _startDelay; }

private:
    static constexpr int maxBlock = 4096;

    void processPlanar(int frames, bool final);

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    int sampleRate;
    int channels;
    double _rate = 1.0;
    int delayToDrop = 0;
    int _startDelay = 0;
    std::optional<int> required; // input frames one processing step takes at this rate
    bool finalSent = false;
    std::vector<std::vector<float>> planar;
    std::vector<float*> pointers;
};
