#pragma once
// The computer's output mixer as the system volume service sees it: a default output device with
// a main volume (0 … 1) and a mute switch, each of which may be missing or read-only. AlsaMixer
// is the real one; tests use a fake. Implementations must allow calls from several threads.

#include <cstdint>
#include <optional>

class AudioMixer {
public:
    enum class Property { MainVolume, Mute };

    virtual ~AudioMixer() = default;

    // Whether the system reports a default output device at all.
    virtual bool hasDefaultOutputDevice() const = 0;
    // Its id; none when it cannot be read.
    virtual std::optional<uint32_t> defaultOutputDevice() const = 0;

    virtual bool hasProperty(uint32_t device, Property property) const = 0;
    virtual bool isSettable(uint32_t device, Property property) const = 0;
    // The volume, or 1 for muted and 0 for not muted; none when the read fails.
    virtual std::optional<float> read(uint32_t device, Property property) const = 0;
    // False when the write fails.
    virtual bool write(uint32_t device, Property property, float value) = 0;
};
