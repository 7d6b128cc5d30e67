#pragma once
// A mixer with one device, whose level writes fail on demand. Guarded by a lock because queued
// volume settings arrive from another thread.

#include "platform/AudioMixer.h"

#include <QMutex>
#include <QMutexLocker>
#include <gtest/gtest.h>

class FakeMixer : public AudioMixer {
public:
    static constexpr uint32_t device = 0x2a;
    struct State {
        bool failVolumeWrite = false;
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

    bool hasDefaultOutputDevice() const override { return true; }
    std::optional<uint32_t> defaultOutputDevice() const override { return device; }
    bool hasProperty(uint32_t id, Property) const override {
        EXPECT_EQ(id, device);
        return true;
    }
    bool isSettable(uint32_t id, Property property) const override {
        return hasProperty(id, property);
    }
    std::optional<float> read(uint32_t, Property property) const override {
        const State s = state();
        return property == Property::Mute ? float(s.muted) : s.volume;
    }
    bool write(uint32_t, Property property, float value) override {
        QMutexLocker lock(&mutex);
        if (property == Property::Mute)
            current.muted = value != 0.0f;
        else if (current.failVolumeWrite)
            return false;
        else
            current.volume = value;
        return true;
    }

private:
    mutable QMutex mutex;
    State current;
};
