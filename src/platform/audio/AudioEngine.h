#pragma once
// The one audio engine of the process: an output (the sound device, or an offline buffer for
// tests and tools), the mixer that sums every sounding voice into it, and the feeder thread
// that keeps the voices' rings filled. After a few seconds with nothing sounding the device is
// closed and the feeder sleeps until the next start. AudioFilePlayer is its only client. Create
// and use it on the Qt main thread; news for a voice (its end, a decode error) arrives there too.

#include "platform/audio/AudioFormat.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class VoiceMixer;
class AudioOutput;
class AudioVoice;
class OfflineAudioOutput;

class AudioEngine {
public:
    static AudioEngine& instance();
    ~AudioEngine();

    // Plays into an offline output from now on (no device, no feeder thread): time advances only
    // through its render(). Only while nothing is playing.
    OfflineAudioOutput& useOfflineOutput(AudioFormat format);

    void add(const std::shared_ptr<AudioVoice>& voice);
    void remove(const std::shared_ptr<AudioVoice>& voice);

    // Starts the voice sounding from source frame `frame` at `rate`; false when it cannot.
    bool start(AudioVoice& voice, int64_t frame, double rate);
    void stop(AudioVoice& voice);
    // The source frame of the voice being heard now.
    double heardSourceFrame(const AudioVoice& voice) const;

    // The feeder's work (offline: run by the output before each piece it mixes). True while
    // any voice is sounding.
    bool feedAll();

private:
    AudioEngine();
    AudioOutput& output();
    void openDevice();
    void stopFeeder();
    void feederLoop();
    // Closes the device when no voice is mixed; true when it is closed now.
    bool releaseIdleOutput();
    int targetBlocks() const;
    void announceEnds(double heardFrame);
    void deliverEvents();
    std::vector<std::shared_ptr<AudioVoice>> voicesSnapshot();

    std::unique_ptr<AudioOutput> _output;
    std::unique_ptr<VoiceMixer> mixer;
    QObject mainThread; // context for calls queued to the main thread

    std::mutex voicesLock;
    std::vector<std::shared_ptr<AudioVoice>> voices;

    std::mutex outputLock; // a voice joining the mix against the device being released
    bool outputReleased = false;

    std::thread feeder;
    std::mutex feederLock;
    std::condition_variable feederWake;
    bool feederStop = false;
    bool feederKicked = false;
    std::atomic<bool> deliveryQueued{false};
};
