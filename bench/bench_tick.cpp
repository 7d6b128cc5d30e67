// The main tick while a track plays in a 2,000-entry session: main-thread time per tick, the
// tick itself and with the repaint it causes (the one played cell), on the offscreen platform.
#include "model/Playlist.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "shell/DisplayController.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "platform/Panels.h"
#include "testaudio/TestAudio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
constexpr int entries = 2000;
constexpr int ticks = 3000;
constexpr int deviceRate = 44100;

class NoPanels : public Panels {
public:
    void chooseSessionToOpen(const QString&, std::function<void(std::optional<QUrl>)> d) override {
        d(std::nullopt);
    }
    void chooseSessionToSave(const QString&, const QString&,
                             std::function<void(std::optional<QUrl>)> d) override {
        d(std::nullopt);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> d) override { d({}); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> d) override { d(std::nullopt); }
    void confirm(const QString&, const QString&, const QString&,
                 std::function<void(bool)> d) override {
        d(false);
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", qPrintable(home.filePath("data")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("brenmoor");
    QApplication::setApplicationName("varlin");

    testaudio::Spec spec;
    spec.seconds = 400.0;
    spec.sampleRate = 8000;
    spec.channels = 1;
    const QString playing = home.filePath("playing.wav");
    if (!testaudio::write(spec, testaudio::Container::Wav, playing)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(playing));
        return 1;
    }
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({deviceRate, 2});

    NoPanels panels;
    MainView view;
    view.resize(1366, 768);
    MainViewController::Services quiet;
    quiet.turnOnDoNotDisturb = [] {};
    MainViewController controller(view, panels, quiet);
    Playlist& playlist = controller.playlist();
    for (int i = 0; i < entries; ++i) {
        const QUrl url = i == entries / 2
                             ? QUrl::fromLocalFile(playing)
                             : QUrl::fromLocalFile(home.filePath(QString("t%1.mp3").arg(i)));
        playlist.allEntries.push_back(std::make_shared<PlaylistEntry>(url, 180.0 + i % 60));
    }
    controller.reloadTable();
    controller.setCurrentEntry(entries / 2);
    view.show();
    QApplication::processEvents();
    controller.player.play();

    DisplayController& displays = controller.displays();
    std::vector<double> tickOnly;
    std::vector<double> withRepaint;
    QElapsedTimer timer;
    for (int i = 0; i < ticks; ++i) {
        output.render(deviceRate / 10);
        QCoreApplication::processEvents();
        timer.start();
        displays.updateElapsedTime();
        tickOnly.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
        withRepaint.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("tick, %d entries, %d ticks while playing\n", entries, ticks);
    std::printf("  tick alone:          median %.4f ms\n", median(tickOnly));
    std::printf("  tick with repaint:   median %.4f ms (target under 0.2 ms)\n",
                median(withRepaint));
    return 0;
}
