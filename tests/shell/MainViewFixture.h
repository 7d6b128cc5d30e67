#pragma once
// Test fixture for the main controller: the real view and controller under the offscreen
// platform, the engine on an offline output (positions and track ends move only when a test
// renders), generated tracks in a temporary folder, panels that answer at once, a fake system
// mixer, modifier keys the test holds, and SDL's game controllers polled by the test.

#include "model/Playlist.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "playback/FakeMixer.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"
#include "support/FakePanels.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

class MainViewFixture : public testing::Test {
protected:
    static constexpr int deviceRate = 44100;

    void SetUp() override { start(); }

    void start() {
        view = std::make_unique<MainView>();
        view->resize(1000, 700);
        MainViewController::Services services;
        services.turnOnDoNotDisturb = [this] { ++doNotDisturbCount; };
        services.mixer = systemMixer;
        services.gameControllers = [this] {
            auto source = std::make_unique<SdlGameControllerSource>();
            gameControllers = source.get();
            return source;
        };
        services.heldModifiers = [this] { return heldModifiers; };
        controller = std::make_unique<MainViewController>(*view, panels, std::move(services));
    }
    // A new run of the program: the same files, a new controller.
    void restart() {
        controller.reset();
        view.reset();
        start();
    }

    // A silent track (cheap to make and to decode) of `seconds` at `name` (a path under the
    // test's folder): MP3 for a name ending in ".mp3", WAV otherwise.
    QUrl track(const QString& name, double seconds) {
        const bool mp3 = name.endsWith(QLatin1String(".mp3"));
        testaudio::Spec spec;
        spec.signal = testaudio::Signal::Silence;
        spec.seconds = seconds;
        spec.sampleRate = mp3 ? 44100 : 8000;
        spec.channels = 1;
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QString error;
        EXPECT_TRUE(testaudio::write(
            spec, mp3 ? testaudio::Container::Mp3Cbr : testaudio::Container::Wav, path, &error))
            << error.toStdString();
        return QUrl::fromLocalFile(path);
    }

    // A session file of the tracks (each `seconds` long), saved with `currentItem`.
    QUrl session(const QString& name, const QStringList& tracks, double seconds = 3.0,
                 std::optional<int> currentItem = std::nullopt) {
        Playlist playlist;
        for (const QString& trackName : tracks)
            playlist.allEntries.push_back(
                std::make_shared<PlaylistEntry>(track(trackName, seconds), seconds));
        if (currentItem)
            playlist.assignedEntry = playlist.allEntries[size_t(*currentItem)];
        const QUrl url = QUrl::fromLocalFile(dir.filePath(name));
        EXPECT_TRUE(playlist.save(url));
        return url;
    }

    // Saves that session file and opens it, as the user would.
    QUrl openSession(const QStringList& tracks, double seconds,
                     std::optional<int> currentItem = std::nullopt,
                     const QString& name = QStringLiteral("Dance.varlin")) {
        const QUrl url = session(name, tracks, seconds, currentItem);
        controller->sessions().openSessionAt(url);
        return url;
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    // Renders `seconds` of sound, then lets the engine's news reach the main thread.
    void render(double seconds) {
        output.render(int(std::llround(seconds * deviceRate)));
        QCoreApplication::processEvents();
    }

    Playlist& playlist() { return controller->playlist(); }
    Player& player() { return controller->player; }

    QTemporaryDir dir;
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({deviceRate, 2});
    FakePanels panels;
    int doNotDisturbCount = 0;
    std::shared_ptr<FakeMixer> mixer = std::make_shared<FakeMixer>();
    // The computer's mixer the controller drives; null for the default device's own.
    std::shared_ptr<AudioMixer> systemMixer = mixer;
    Qt::KeyboardModifiers heldModifiers = Qt::NoModifier;
    // Made at the first activation; the test polls it.
    SdlGameControllerSource* gameControllers = nullptr;
    std::unique_ptr<MainView> view;
    std::unique_ptr<MainViewController> controller;
};
