// Start-up to a shown window that has reopened the last session: 500 entries with cached
// durations, the current entry and position restored from the run state, offscreen.
#include "model/AppState.h"
#include "model/Playlist.h"
#include "shell/AppDelegate.h"
#include "shell/MainViewController.h"
#include "shell/MainWindow.h"
#include "testaudio/TestAudio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
constexpr int entries = 500;
constexpr int runs = 7;
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", qPrintable(home.filePath("data")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QElapsedTimer total;
    total.start();
    QApplication app(argc, argv);
    QApplication::setOrganizationName("brenmoor");
    QApplication::setApplicationName("varlin");
    const double applicationMs = double(total.nsecsElapsed()) / 1e6;

    testaudio::Spec spec;
    spec.seconds = 200.0;
    spec.sampleRate = 22050;
    Playlist playlist;
    for (int i = 0; i < entries; ++i) {
        const QString path = home.filePath(QString("t%1.wav").arg(i));
        if (i < 3 && !testaudio::write(spec, testaudio::Container::Wav, path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        playlist.allEntries.push_back(
            std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 200.0));
    }
    playlist.assignedEntry = playlist.allEntries[1];
    const QUrl session = QUrl::fromLocalFile(home.filePath("Evening.varlin"));
    AppState state;
    state.playlistURL = session;
    state.currentTime = 42.0;
    state.currentEntryIndex = 1;
    if (!playlist.save(session) || !state.write()) {
        std::fprintf(stderr, "cannot write the session\n");
        return 1;
    }

    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        AppDelegate delegate;
        MainWindow window(delegate);
        window.show();
        delegate.applicationDidBecomeActive();
        QApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        window.controller().playlist().dirty = false;
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("start-up, %d-entry session reopened from the run state\n", entries);
    std::printf("  application object:          %.1f ms\n", applicationMs);
    std::printf("  window shown with session:    median %.1f ms, first %.1f ms (target under "
                "1000 ms)\n",
                times[times.size() / 2], first);
    return 0;
}
