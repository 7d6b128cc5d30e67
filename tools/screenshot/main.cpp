// varlin-screenshot OUTDIR: builds a session of generated tracks (folders, tags, checkmarks,
// played dates, heard ranges, zeros and notes), opens it in the main window in dance mode, plays
// the current track to a staged moment on the offline output, starts the break timer and saves
// the window as main-window.png; then a rate flash over it (notifier-flash.png) and, once the
// music has stopped, the screensaver (screensaver.png); and the clock alone at a fixed moment of a
// break (clock-break-ring.png).
#include "control/TransportViewController.h"
#include "model/AppState.h"
#include "model/Playlist.h"
#include "model/TextNoteSet.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "playback/RestTimer.h"
#include "services/Preferences.h"
#include "shell/AppDelegate.h"
#include "shell/DisplayController.h"
#include "shell/MainView.h"
#include "shell/MainViewController.h"
#include "shell/MainWindow.h"
#include "shell/WaveformView.h"
#include "stage/Clock.h"
#include "stage/Screensaver.h"
#include "stage/TextNotifierView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPropertyAnimation>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <sndfile.h>
#include <vector>

namespace {
constexpr int rate = 22050;

struct Track {
    const char* folder;
    const char* name;
    double seconds;
    const char* tags;
    bool checked;
    int daysAgo; // -1: never played
};

const Track tracks[] = {
    {"Waltzes", "Blue Danube Evening", 184, "R", true, 12},
    {"Reels", "Morning Dew", 201, "", false, 3},
    {"Waltzes", "Lady of the Lake", 236, "W", true, -1},
    {"Jigs", "The Kesh", 152, "J", false, 41},
    {"Reels", "Drowsy Maggie", 175, "", true, 7},
    {"Hornpipes", "Harvest Home", 163, "H", false, 120},
    {"Jigs", "Out on the Ocean", 190, "JR", false, -1},
    {"Waltzes", "Si Bheag Si Mhor", 212, "", false, 25},
    {"Reels", "Silver Spear", 168, "R", true, 2},
    {"Polkas", "Britches Full of Stitches", 144, "", false, -1},
};

// Music-like loudness: phrases of eight bars that swell and fall, a beat on every bar.
bool writeTrack(const QString& wavPath, const QString& mp3Path, double seconds, int seed) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(wavPath).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = size_t(seconds * rate);
    std::vector<short> samples(frames);
    const double bar = 1.6 + 0.1 * seed;
    for (size_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double phrase = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * t / (8 * bar) + seed);
        const double beat = std::exp(-8.0 * std::fmod(t, bar / 3));
        const double fade = std::min({1.0, t / 3.0, (seconds - t) / 4.0});
        const double tone = std::sin(2 * std::numbers::pi * (196.0 + 30 * seed) * t) +
                            0.5 * std::sin(2 * std::numbers::pi * 293.7 * t);
        samples[i] = short(9000 * fade * phrase * (0.35 + 0.65 * beat) * tone);
    }
    sf_write_short(file, samples.data(), sf_count_t(frames));
    sf_close(file);
    const int encoded = QProcess::execute(
        "lame", {"--silent", "-b", "96", "--resample", "22.05", wavPath, mp3Path});
    QFile::remove(wavPath);
    return encoded == 0;
}

// A clock that stands still at the moment it is set to; the break timer's own deadline never comes.
struct StagedTime : TimeSource {
    QDateTime moment;

    QDateTime now() const override { return moment; }
    void callAt(const QDateTime&, std::function<void()>) override {}
    void cancel() override {}
};

QDateTime today(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second));
}

// A break timer armed at `armed` with a break of `minutes`, seen at `now`.
std::unique_ptr<RestTimer> breakTimer(const QDateTime& armed, const QDateTime& now,
                                      double minutes) {
    auto staged = std::make_unique<StagedTime>();
    StagedTime* clock = staged.get();
    clock->moment = armed;
    auto timer = std::make_unique<RestTimer>([minutes] { return minutes; }, std::move(staged));
    timer->arm();
    clock->moment = now;
    return timer;
}

// The main window's break timer runs on the wall clock.
void letTimePass(int milliseconds) {
    QElapsedTimer passed;
    passed.start();
    while (passed.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(QWidget& window, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-screenshot OUTDIR\n");
        return 2;
    }
    QTemporaryDir home;
    setenv("XDG_DATA_HOME", qPrintable(home.filePath("data")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("brenmoor");
    QApplication::setApplicationName("varlin");
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const QString music = home.filePath("Music");
    Playlist playlist;
    playlist._directoryPrefix = music;
    int seed = 0;
    for (const Track& track : tracks) {
        const QString folder = music + '/' + track.folder;
        QDir().mkpath(folder);
        const QString mp3 = folder + '/' + track.name + ".mp3";
        if (!writeTrack(folder + "/source.wav", mp3, track.seconds, seed++)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(mp3));
            return 1;
        }
        auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(mp3));
        entry->duration();
        if (*track.tags)
            entry->tags = QString::fromLatin1(track.tags);
        entry->isCheckmarked = track.checked;
        if (track.daysAgo >= 0) {
            entry->playedDates.push_back(QDateTime::currentDateTime().addDays(-track.daysAgo));
            entry->prevTimeRangeSet->insertRange(0, track.seconds * 0.8, 0);
        }
        playlist.allEntries.push_back(entry);
    }
    const PlaylistEntryPtr current = playlist.allEntries[2];
    current->zeros = {14.0, 62.0, 125.0};
    current->prevTimeRangeSet->insertRange(150.0, 200.0, 0);
    for (auto [time, text] : {std::pair{8.0, "Honour your partner"},
                              {40.0, "Circle left"},
                              {70.0, "Ladies chain"},
                              {110.0, "Promenade home"}})
        current->noteSet()->addNote(time)->text = QString::fromUtf8(text);
    current->noteSet()->save();
    playlist.assignedEntry = current;
    const QUrl session = QUrl::fromLocalFile(home.filePath("Saturday Ceilidh.varlin"));
    if (!playlist.save(session)) {
        std::fprintf(stderr, "cannot write the session\n");
        return 1;
    }

    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({44100, 2});
    AppDelegate delegate;
    MainWindow window(delegate);
    window.resize(1366, 768);
    window.show();
    delegate.applicationDidBecomeActive();
    delegate.openFile(session.toLocalFile());
    MainViewController& controller = window.controller();
    // Heard before: the start, then from the second zero on, now playing past the note.
    controller.player.play();
    output.render(44100 * 20);
    controller.player.setCurrentTime(60.0);
    output.render(int(44100 * 48.5));
    QApplication::processEvents();
    controller.displays().updateElapsedTime();

    WaveformView& waveform = *window.mainView().waveformView;
    QElapsedTimer waited;
    waited.start();
    while (waveform.image().isNull() && waited.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    waveform.fadeAnimation()->setCurrentTime(waveform.fadeAnimation()->duration());
    // The caller started the break timer during the last dance: a short break, a third gone.
    Preferences::shared().setTimerDuration(0.1);
    controller.restTimer.toggle();
    letTimePass(2000);
    QApplication::processEvents();
    bool ok = save(window, out, "main-window.png");

    // A step faster flashed over the window, halfway through its fade.
    controller.transport().faster();
    TextNotifierView* flash = window.mainView().findChildren<TextNotifierView*>().last();
    flash->fadeAnimation()->pause();
    flash->fadeAnimation()->setCurrentTime(400);
    ok &= save(window, out, "notifier-flash.png");
    flash->fadeAnimation()->setCurrentTime(flash->fadeAnimation()->duration());
    QApplication::processEvents();

    // The music stopped, the break went on, nobody touched the computer.
    controller.transport().pauseCommand();
    letTimePass(2500);
    window.mainView().screensaver->activate();
    ok &= save(window, out, "screensaver.png");
    window.controller().playlist().dirty = false;

    // 3:30, two minutes into a five-minute break: the ring has 60 % left.
    {
        QWidget frame;
        frame.resize(360, 360);
        Clock clock(&frame);
        clock.setGeometry(frame.rect());
        const QDateTime now = today(15, 30);
        clock.setTimeSource([now] { return now; });
        const auto rest = breakTimer(today(15, 28), now, 5);
        clock.setRestTimer(rest.get());
        clock.setClockVisible(true);
        ok &= save(frame, out, "clock-break-ring.png");
    }

    return ok ? 0 : 1;
}
