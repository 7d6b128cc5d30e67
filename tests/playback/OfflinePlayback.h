#pragma once
// Test fixture: the engine on an offline 44.1 kHz stereo output whose clock moves only when a
// test renders, and generated audio files in a temporary folder.

#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

class OfflinePlayback : public testing::Test {
protected:
    static constexpr int deviceRate = 44100;

    static testaudio::Spec tone(double seconds, double frequency = 440.0) {
        testaudio::Spec spec;
        spec.seconds = seconds;
        spec.frequency = frequency;
        return spec;
    }

    QUrl make(const QString& name, const testaudio::Spec& spec,
              testaudio::Container container = testaudio::Container::Wav) {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(testaudio::write(spec, container, path, &error)) << error.toStdString();
        return QUrl::fromLocalFile(path);
    }

    // Renders, then lets the engine's queued notifications reach the main thread.
    std::vector<float> render(double seconds) {
        auto samples = output.render(int(std::llround(seconds * deviceRate)));
        QCoreApplication::processEvents();
        return samples;
    }

    QTemporaryDir dir;
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({deviceRate, 2});
};
