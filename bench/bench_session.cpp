// Opening and saving a 2,000-entry session (target: under 50 ms each), beside Python's plistlib
// loading and dumping the same file in the same run.
#include "model/Playlist.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
constexpr int entryCount = 2000;
constexpr int rounds = 15;

PlaylistPtr largeSession() {
    auto playlist = std::make_shared<Playlist>();
    const QDateTime firstPlay(QDate(2024, 1, 5), QTime(20, 0), Qt::UTC);
    for (int i = 0; i < entryCount; ++i) {
        const QString path =
            QStringLiteral("/home/caller/music/folder %1/track %2.mp3").arg(i / 40).arg(i);
        auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 120.0 + i % 180);
        entry->prevTimeRangeSet = std::make_shared<TimeRangeSet>(
            std::vector<TimeRange>{{0, 30.5}, {42.25, 90}, {100, 118.75}});
        entry->zeros = {1.5, 33.25, 64.0, 97.5};
        for (int d = 0; d < 6; ++d)
            entry->playedDates.push_back(firstPlay.addDays(d * 14 + i % 7).addSecs(i));
        entry->storedBookmark = path.toUtf8();
        entry->sideDocuments = {std::make_shared<SideDocument>(
            QUrl::fromLocalFile(QStringLiteral("/home/caller/cues/track %1.pdf").arg(i)), "pdf")};
        entry->isCheckmarked = i % 3 == 0;
        entry->tags = QStringLiteral("waltz set%1").arg(i % 5);
        playlist->allEntries.push_back(entry);
    }
    playlist->currentTime = 61.5;
    playlist->_ageUnits = AgeUnits::days;
    playlist->assignedEntry = playlist->allEntries[7];
    return playlist;
}

// Milliseconds of processor time of this thread: steadier than the wall clock on a busy machine.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double openMs, saveMs, openCpuMs, saveCpuMs;
};

// Python's load and dump figures, medians over the same number of rounds.
std::optional<Figures> plistlibFigures(const QString& path) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    const char* script = R"(
import plistlib, statistics, sys, time
path, rounds = sys.argv[1], int(sys.argv[2])
raw = open(path, 'rb').read()
loads, dumps, loadsCpu, dumpsCpu = [], [], [], []
for _ in range(rounds):
    t, c = time.perf_counter(), time.thread_time()
    data = plistlib.load(open(path, 'rb'))
    loads.append(time.perf_counter() - t); loadsCpu.append(time.thread_time() - c)
    t, c = time.perf_counter(), time.thread_time()
    with open(path + '.py', 'wb') as f:
        plistlib.dump(data, f, fmt=plistlib.FMT_BINARY, sort_keys=False)
    dumps.append(time.perf_counter() - t); dumpsCpu.append(time.thread_time() - c)
m = statistics.median
print(m(loads) * 1000, m(dumps) * 1000, m(loadsCpu) * 1000, m(dumpsCpu) * 1000)
)";
    QProcess process;
    process.start(
        python, {QStringLiteral("-c"), QString::fromLatin1(script), path, QString::number(rounds)});
    if (!process.waitForFinished(300000) || process.exitCode() != 0)
        return std::nullopt;
    const QStringList figures = QString::fromUtf8(process.readAllStandardOutput()).split(' ');
    if (figures.size() != 4)
        return std::nullopt;
    return Figures{figures[0].toDouble(), figures[1].toDouble(), figures[2].toDouble(),
                   figures[3].toDouble()};
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QUrl url = QUrl::fromLocalFile(dir.filePath("Large.varlin"));
    PlaylistPtr playlist = largeSession();
    if (!playlist->save(url)) {
        std::printf("bench_session: can't write the session\n");
        return 1;
    }

    std::vector<double> openTimes, saveTimes, openCpu, saveCpu;
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        double cpu = cpuMs();
        timer.start();
        PlaylistPtr opened = Playlist::open(url, nullptr);
        openTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        openCpu.push_back(cpuMs() - cpu);
        if (!opened || opened->allEntries.size() != size_t(entryCount)) {
            std::printf("bench_session: the session did not read back\n");
            return 1;
        }
        cpu = cpuMs();
        timer.start();
        const bool saved = opened->save(url);
        saveTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        saveCpu.push_back(cpuMs() - cpu);
        if (!saved)
            return 1;
    }

    const Figures varlin{median(openTimes), median(saveTimes), median(openCpu), median(saveCpu)};
    std::printf("session of %d entries, %lld bytes, medians of %d rounds (wall / CPU)\n",
                entryCount, static_cast<long long>(QFileInfo(url.toLocalFile()).size()), rounds);
    std::printf("  varlin open    %7.2f / %7.2f ms   (target < 50 ms)\n", varlin.openMs,
                varlin.openCpuMs);
    std::printf("  varlin save    %7.2f / %7.2f ms   (target < 50 ms)\n", varlin.saveMs,
                varlin.saveCpuMs);
    const std::optional<Figures> peer = plistlibFigures(url.toLocalFile());
    if (!peer) {
        std::printf("  plistlib: python3 not available\n");
        return 0;
    }
    std::printf("  plistlib load  %7.2f / %7.2f ms   CPU ratio varlin/plistlib %.2f\n",
                peer->openMs, peer->openCpuMs, varlin.openCpuMs / peer->openCpuMs);
    std::printf("  plistlib dump  %7.2f / %7.2f ms   CPU ratio varlin/plistlib %.2f\n",
                peer->saveMs, peer->saveCpuMs, varlin.saveCpuMs / peer->saveCpuMs);
    return 0;
}
