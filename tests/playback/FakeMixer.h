#pragma once
// A mixer whose device has or lacks each property, and whose reads and writes fail on demand.
// Guarded by a lock because queued volume settings arrive from another thread.

#include "platform/AudioMixer.h"

#include <QMutex>
#include <QMutexLocker>
#include <gtest/gtest.h>

class FakeMixer : public AudioMixer {
public:
    struct State {
        bool hasDevice = true;
        bool deviceReadable = true;
        uint32_t device = 0x2a;
        bool hasVolume = true;
        bool volumeSettable = true;
        bool hasMute = true;
        bool muteSettable = true;
        bool failVolumeRead = false;
        bool failVolumeWrite = false;
        bool failMuteWrite = false;
        float volume = 0.6f;
        bool muted = false;
        int writes = 0;
    };

    State state() const {
        QMutexLocker lock(&mutex);
        return current;
    }
    void setState(const State& state) {
        QMutexLocker lock(&mutex);
        current = state;
    }

    bool hasDefaultOutputDevice() const override { return state().hasDevice; }

    std::optional<uint32_t> defaultOutputDevice() const override {
        const State s = state();
        if (!s.hasDevice || !s.deviceReadable)
            return std::nullopt;
        return s.device;
    }

    bool hasProperty(uint32_t device, Property property) const override {
        const State s = state();
        EXPECT_EQ(device, s.device);
        return property == Property::MainVolume ? s.hasVolume : s.hasMute;
    }

    bool isSettable(uint32_t device, Property property) const override {
        const State s = state();
        EXPECT_EQ(device, s.device);
        return property == Property::MainVolume ? s.hasVolume && s.volumeSettable
                                                : s.hasMute && s.muteSettable;
    }

    std::optional<float> read(uint32_t, Property property) const override {
        const State s = state();
        if (property == Property::Mute)
            return s.hasMute ? std::optional<float>(s.muted ? 1.0f : 0.0f) : std::nullopt;
        if (!s.hasVolume || s.failVolumeRead)
            return std::nullopt;
        return s.volume;
    }

    bool write(uint32_t, Property property, float value) override {
        QMutexLocker lock(&mutex);
        ++current.writes;
        if (property == Property::Mute) {
            if (!current.hasMute || !current.muteSettable || current.failMuteWrite)
                return false;
            current.muted = value != 0.0f;
            return true;
        }
        if (!current.hasVolume || !current.volumeSettable || current.failVolumeWrite)
            return false;
        current.volume = value;
        return true;
    }

private:
    mutable QMutex mutex;
    State current;
};
