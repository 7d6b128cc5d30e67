#pragma once
// The computer's output volume, driven by the program's volume control so that the caller's knob
// works like the loudspeaker's own. Failures are single lines on standard output; the caller
// always continues. Called on the main thread; setSystemVolumeLater can hand the setting to a
// background thread of its own, which applies queued settings in order.

#include "platform/AudioMixer.h"

#include <QMutex>
#include <QThreadPool>
#include <cstdint>
#include <memory>
#include <optional>

class SystemVolume {
public:
    // A null mixer means the ALSA mixer of the default device.
    explicit SystemVolume(std::shared_ptr<AudioMixer> mixer = nullptr);
    ~SystemVolume();
    SystemVolume(const SystemVolume&) = delete;
    SystemVolume& operator=(const SystemVolume&) = delete;

    // None when there is no device (where the original counts id 0, ALSA's card 0 is real).
    std::optional<uint32_t> defaultOutputDevice() const;

    // The main volume in 0 … 1; 0 when it cannot be read.
    float systemVolume() const;
    // Below 0.05 the device is muted instead, leaving its level as it was.
    void setSystemVolume(float volume, bool unmute);
    bool systemMuted() const;
    void setSystemMuted(bool flag);
    // Nothing while the device is muted; otherwise setSystemVolume(volume, true), at once or
    // queued.
    void setSystemVolumeLater(float volume, bool now);
    // The program's volume control: setSystemVolume(volume, true) and then unmute, on the
    // background thread, since opening the mixer of a sound server can take milliseconds. A
    // setting still waiting is replaced by a newer one, so a dragged slider leaves no backlog.
    void followVolume(float volume);
    // Returns once every queued setting has been applied.
    void waitForQueuedSettings();

private:
    std::shared_ptr<AudioMixer> mixer;
    QThreadPool queue;
    QMutex pendingLock;
    std::optional<float> pendingVolume; // the next volume to follow, guarded by pendingLock
};
