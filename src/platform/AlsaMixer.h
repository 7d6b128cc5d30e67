#pragma once
// The ALSA simple mixer of the "default" device, element "Master" (on PipeWire and PulseAudio
// desktops, the default sink). The device id is the ALSA card number. Every call opens the mixer
// afresh, so it always sees the current default device and holds no state between threads.

#include "platform/AudioMixer.h"

class AlsaMixer : public AudioMixer {
public:
    bool hasDefaultOutputDevice() const override;
    std::optional<uint32_t> defaultOutputDevice() const override;
    bool hasProperty(uint32_t device, Property property) const override;
    bool isSettable(uint32_t device, Property property) const override;
    std::optional<float> read(uint32_t device, Property property) const override;
    bool write(uint32_t device, Property property, float value) override;
};
