#pragma once
// A mixer whose device lacks a mute switch, or whose writes fail, on demand. Guarded by
// a lock because queued volume settings arrive from another thread.

#include "platform/AudioMixer.h"

#include <QMutex>
#include <QMutexLocker>
#include <gtest/gtest.h>

class FakeMixer : public AudioMixer {
public:
    static constexpr uint32_t device = 0x2a;
    struct State {
        bool hasDevice = true;
        bool hasMute = true;
        bool failVolumeWrite = false;
        bool failMuteWrite = false;
        float volume = 0.6f;
        bool muted = false;
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
        return state().hasDevice ? std::optional<uint32_t>(device) : std::nullopt;
    }
    bool hasProperty(uint32_t id, Property property) const override {
        EXPECT_EQ(id, device);
        return property == Property::MainVolume || state().hasMute;
    }
    bool isSettable(uint32_t id, Property property) const override {
        return hasProperty(id, property);
    }
    std::optional<float> read(uint32_t, Property property) const override {
        const State s = state();
        if (property == Property::Mute)
            return s.hasMute ? std::optional<float>(s.muted) : std::nullopt;
        return s.volume;
    }
    bool write(uint32_t, Property property, float value) override {
        QMutexLocker lock(&mutex);
        if (property == Property::Mute) {
            if (!current.hasMute || current.failMuteWrite)
                return false;
            current.muted = value != 0.0f;
        } else if (current.failVolumeWrite) {
            return false;
        } else {
            current.volume = value;
        }
        return true;
    }

private:
    mutable QMutex mutex;
    State current;
};
