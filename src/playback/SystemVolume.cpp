#include "playback/SystemVolume.h"

#include "platform/AlsaMixer.h"
#include "platform/Diagnostics.h"

#include <algorithm>
#include <cmath>

namespace {

using Property = AudioMixer::Property;

// Below this a volume is taken as silence and the device is muted instead.
constexpr float muteBelow = 0.05f;

QString deviceLine(const char* format, uint32_t device) {
    return QString::asprintf(format, device);
}

} // namespace

SystemVolume::SystemVolume(std::shared_ptr<AudioMixer> mixer)
    : mixer(mixer ? std::move(mixer) : std::make_shared<AlsaMixer>()) {
    queue.setMaxThreadCount(1);
}

SystemVolume::~SystemVolume() {
    waitForQueuedSettings();
}

std::optional<uint32_t> SystemVolume::defaultOutputDevice() const {
    if (!mixer->hasDefaultOutputDevice()) {
        printLine("Unable to get default audio device");
        return std::nullopt;
    }
    const std::optional<uint32_t> device = mixer->defaultOutputDevice();
    if (!device)
        printLine("Unable to get output audio device");
    return device;
}

float SystemVolume::systemVolume() const {
    const std::optional<uint32_t> device = defaultOutputDevice();
    if (!device) {
        printLine("Audio device unknown");
        return 0.0f;
    }
    if (!mixer->hasProperty(*device, Property::MainVolume)) {
        printLine(deviceLine("No volume control for device 0x%0x", *device));
        return 0.0f;
    }
    const std::optional<float> volume = mixer->read(*device, Property::MainVolume);
    if (!volume || std::isnan(*volume)) {
        printLine(deviceLine("Unable to read volume for device 0x%0x", *device));
        return 0.0f;
    }
    return std::clamp(*volume, 0.0f, 1.0f);
}

void SystemVolume::setSystemVolume(float volume, bool unmute) {
    const std::optional<uint32_t> found = defaultOutputDevice();
    if (!found) {
        printLine("Audio Device unknown");
        return;
    }
    const uint32_t device = *found;
    if (std::isnan(volume)) {
        printLine("Tentative volume (nan) is not a number; volume left unchanged");
        return;
    }
    const float clamped = std::clamp(volume, 0.0f, 1.0f);
    if (clamped != volume)
        printLine(QString::asprintf("Tentative volume (%5.2f) was out of range; reset to %5.2f",
                                    double(volume), double(clamped)));

    const bool muting = clamped < muteBelow;
    const Property property = muting ? Property::Mute : Property::MainVolume;
    const bool muteSettable =
        mixer->hasProperty(device, Property::Mute) && mixer->isSettable(device, Property::Mute);
    if (muting && mixer->hasProperty(device, Property::Mute) && !muteSettable)
        printLine(deviceLine("Should mute device 0x%0x but did not succeed", device));
    if (!mixer->hasProperty(device, property)) {
        printLine(deviceLine("The device 0x%0x does not have a volume to set", device));
        return;
    }
    if (!mixer->isSettable(device, property)) {
        printLine(deviceLine("The volume of device 0x%0x cannot be set", device));
        return;
    }
    if (muting) {
        if (!mixer->write(device, Property::Mute, 1.0f))
            printLine(deviceLine("The device 0x%0x was not muted", device));
        return;
    }
    bool written = mixer->write(device, Property::MainVolume, clamped);
    if (!written)
        printLine(deviceLine("The device 0x%0x was unable to set volume", device));
    // A device without a mute switch has nothing to unmute; trying would only report a failure.
    if (unmute && muteSettable)
        written = mixer->write(device, Property::Mute, 0.0f);
    if (!written)
        printLine(deviceLine("Unable to set volume for device 0x%0x", device));
}

bool SystemVolume::systemMuted() const {
    const std::optional<uint32_t> device = defaultOutputDevice();
    if (!device || !mixer->hasProperty(*device, Property::Mute) ||
        !mixer->isSettable(*device, Property::Mute))
        return false;
    return mixer->read(*device, Property::Mute) == 1.0f;
}

void SystemVolume::setSystemMuted(bool flag) {
    const std::optional<uint32_t> device = defaultOutputDevice();
    if (!device) {
        printLine("Audio device unknown");
        return;
    }
    if (!mixer->hasProperty(*device, Property::Mute) || !mixer->isSettable(*device, Property::Mute))
        return;
    if (!mixer->write(*device, Property::Mute, flag ? 1.0f : 0.0f))
        printLine(deviceLine("Cannot change mute status of device 0x%0x", *device));
}

void SystemVolume::followVolume(float volume) {
    {
        const QMutexLocker lock(&pendingLock);
        const bool waiting = pendingVolume.has_value();
        pendingVolume = volume;
        if (waiting)
            return;
    }
    queue.start([this] {
        float latest = 0;
        {
            const QMutexLocker lock(&pendingLock);
            latest = *pendingVolume;
            pendingVolume.reset();
        }
        setSystemVolume(latest, true);
        setSystemMuted(false);
    });
}

void SystemVolume::waitForQueuedSettings() {
    queue.waitForDone();
}

void SystemVolume::setSystemVolumeLater(float volume, bool now) {
    if (systemMuted())
        return;
    if (now)
        setSystemVolume(volume, true);
    else
        queue.start([this, volume] { setSystemVolume(volume, true); });
}
