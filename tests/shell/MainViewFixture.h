#pragma once
// Test fixture for the main controller: the real view and controller under the offscreen
// platform, the engine on an offline output (positions and track ends move only when a test
// renders), generated tracks in a temporary folder, panels that answer at once, a fake system
// mixer, modifier keys the test holds, and SDL's game controllers polled by the test.

#include "model/Playlist.h"
#include "platform/Panels.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "playback/FakeMixer.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace shelltest {

// Answers every panel at once with what the test put in; counts what was shown.
class ScriptedPanels : public Panels {
public:
    void chooseSessionToOpen(const QString& folder,
                             std::function<void(std::optional<QUrl>)> done) override {
        ++openShown;
        shownFolder = folder;
        done(openAnswer);
    }
    void chooseSessionToSave(const QString& folder, const QString& proposedName,
                             std::function<void(std::optional<QUrl>)> done) override {
        ++saveShown;
        shownFolder = folder;
        shownName = proposedName;
        done(saveAnswer);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override { done(addAnswer); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void confirm(const QString&, const QString&, const QString&,
                 std::function<void(bool)> done) override {
        done(true);
    }

    std::optional<QUrl> openAnswer;
    std::vector<QUrl> addAnswer;
    std::optional<QUrl> saveAnswer;
    int openShown = 0;
    int saveShown = 0;
    QString shownFolder;
    QString shownName;
};

} // namespace shelltest

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

    // A silent track (cheap to make and to decode) of `seconds`: MP3 for a name ending in
    // ".mp3", WAV otherwise.
    QUrl track(const QString& name, double seconds, const QString& folder = QString()) {
        const bool mp3 = name.endsWith(QLatin1String(".mp3"));
        testaudio::Spec spec;
        spec.signal = testaudio::Signal::Silence;
        spec.seconds = seconds;
        spec.sampleRate = mp3 ? 44100 : 8000;
        spec.channels = 1;
        const QString subfolder = folder.isEmpty() ? dir.path() : dir.filePath(folder);
        QDir().mkpath(subfolder);
        const QString path = subfolder + QLatin1Char('/') + name;
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

    // Renders `seconds` of sound, then lets the engine's news reach the main thread.
    void render(double seconds) {
        output.render(int(std::llround(seconds * deviceRate)));
        QCoreApplication::processEvents();
    }

    Playlist& playlist() { return controller->playlist(); }
    Player& player() { return controller->player; }

    QTemporaryDir dir;
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({deviceRate, 2});
    shelltest::ScriptedPanels panels;
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
