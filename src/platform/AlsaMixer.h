#pragma once
// The ALSA simple mixer of the "default" device, element "Master" (on PipeWire and PulseAudio
// desktops, the default sink). The device id is the ALSA card number.
//
// One mixer stays open while the volume is in use: opening one through a sound server's plugin
// costs tens of milliseconds. It is opened afresh after any failed call (a card unplugged, the
// server gone) and after a pause in use, because the server's plugin stays bound to the sink
// that was the default when it opened and reports no switch to another. Calls are serialised by
// a lock and no element of the mixer is kept beyond the call that found it.

#include "platform/AudioMixer.h"

#include <QMutex>
#include <chrono>
#include <functional>
#include <memory>

class AlsaMixer : public AudioMixer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // A pause longer than this before a call reopens the mixer.
    static constexpr std::chrono::seconds reopenAfterPause{5};

    explicit AlsaMixer(Clock clock = std::chrono::steady_clock::now);
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    bool hasDefaultOutputDevice() const override;
    std::optional<uint32_t> defaultOutputDevice() const override;
    bool hasProperty(uint32_t device, Property property) const override;
    bool isSettable(uint32_t device, Property property) const override;
    std::optional<float> read(uint32_t device, Property property) const override;
    bool write(uint32_t device, Property property, float value) override;

private:
    class Open;

    // The open mixer, opened or reopened as needed and up to date with the device's changes;
    // null when the device cannot be opened. Called with the lock held.
    Open* current() const;
    // Drops the open mixer after a failed call, so the next call opens it afresh.
    template <typename Result> Result closeOnFailure(Result result) const;

    Clock clock;
    mutable QMutex lock;
    mutable std::unique_ptr<Open> open;
    mutable std::chrono::steady_clock::time_point lastUse;
};
