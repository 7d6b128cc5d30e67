#pragma once
// Test fixture for the main controller: the real view and controller under the offscreen
// platform, the engine on an offline output (positions and track ends move only when a test
// renders), generated tracks in a temporary folder, panels that answer at once, a fake system
// mixer, modifier keys the test holds, and SDL's game controllers polled by the test. It brings
// what every test of the main window reads: the run state, diagnostics, spies and the table.

#include "control/TransportViewController.h"
#include "model/AppState.h"
#include "model/Playlist.h"
#include "platform/Diagnostics.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "playback/FakeMixer.h"
#include "shell/InterceptingTextField.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"
#include "support/FakePanels.h"
#include "support/TestFiles.h"
#include "table/EntryCommands.h"
#include "table/PlaylistTableModel.h"
#include "table/PlaylistTableView.h"
#include "testaudio/TestAudio.h"

#include <QAction>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
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

    // An entry for a silent WAV track (cheap to make and to decode) of `seconds` at `name` in the
    // test's folder.
    PlaylistEntryPtr newEntry(const QString& name, double seconds) {
        testaudio::Spec spec;
        spec.signal = testaudio::Signal::Silence;
        spec.seconds = seconds;
        spec.sampleRate = 8000;
        spec.channels = 1;
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(testaudio::write(spec, testaudio::Container::Wav, path, &error))
            << error.toStdString();
        return std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), seconds);
    }

    // A session file of the tracks (each `seconds` long), saved with `currentItem`.
    QUrl session(const QString& name, const QStringList& tracks, double seconds = 3.0,
                 std::optional<int> currentItem = std::nullopt) {
        Playlist playlist;
        for (const QString& trackName : tracks)
            playlist.allEntries.push_back(newEntry(trackName, seconds));
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
        sessions().openSessionAt(url);
        return url;
    }

    // Renders `seconds` of sound, then lets the engine's news reach the main thread.
    void render(double seconds) {
        output.render(int(std::llround(seconds * deviceRate)));
        QCoreApplication::processEvents();
    }

    // The user clicks a row (the table's own selection rule runs).
    void userSelects(int row) {
        EntryCommands& commands = controller->entryCommands();
        commands.selectionModel()->select(commands.model()->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    }

    Playlist& playlist() { return controller->playlist(); }
    PlaylistEntryPtr entry(int row) { return playlist().allEntries[size_t(row)]; }
    Player& player() { return controller->player; }
    TransportViewController& transport() { return controller->transport(); }
    SessionController& sessions() { return controller->sessions(); }

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
