// Duration probe over 500 tagged and 500 untagged MP3 files, beside `soxi -D` (one run over all
// files) and `ffprobe` (one run per file, as a caller scripting it would) on the same files.
#include "platform/audio/AudioDecoder.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int filesPerSet = 500;
constexpr int distinctFiles = 20; // encoded with lame, then copied to make up the set

struct TestFile {
    QString path;
    double seconds;
};

// Lengths from 3 s to 60 s, mono and stereo, CBR and VBR, tone and clicks.
testaudio::Spec specFor(int variant) {
    testaudio::Spec spec;
    spec.seconds = 3.0 + 3.0 * variant + 0.123;
    spec.channels = variant % 3 == 0 ? 1 : 2;
    spec.signal = variant % 2 == 0 ? testaudio::Signal::Tone : testaudio::Signal::Clicks;
    spec.frequency = 220.0 + 40.0 * variant;
    spec.clickTimes = {0.5, spec.seconds / 2};
    return spec;
}

std::vector<TestFile> makeSet(const QDir& dir, bool tagged) {
    std::vector<TestFile> distinct;
    for (int variant = 0; variant < distinctFiles; ++variant) {
        const testaudio::Spec spec = specFor(variant);
        const bool vbr = variant % 2 == 1;
        const testaudio::Container container =
            tagged ? (vbr ? testaudio::Container::Mp3Vbr : testaudio::Container::Mp3Cbr)
                   : (vbr ? testaudio::Container::Mp3VbrNoTag : testaudio::Container::Mp3CbrNoTag);
        const QString path = dir.filePath(QString("source%1.mp3").arg(variant));
        QString error;
        if (!testaudio::write(spec, container, path, &error)) {
            std::fprintf(stderr, "cannot generate %s: %s\n", qPrintable(path), qPrintable(error));
            std::exit(1);
        }
        distinct.push_back({path, double(testaudio::frameCount(spec)) / spec.sampleRate});
    }
    std::vector<TestFile> set;
    for (int i = 0; i < filesPerSet; ++i) {
        const TestFile& source = distinct[size_t(i % distinctFiles)];
        const QString path = dir.filePath(QString("track%1.mp3").arg(i, 3, 10, QChar('0')));
        QFile::copy(source.path, path);
        set.push_back({path, source.seconds});
    }
    return set;
}

struct Figure {
    double milliseconds = -1;
    int exact = 0;    // within a millisecond of the generated length
    int tooShort = 0; // more than 50 ms short of it: the track would end before its time

    void count(double measured, double expected) {
        exact += std::abs(measured - expected) < 0.001;
        tooShort += measured < expected - 0.05;
    }
};

Figure probeOurs(const std::vector<TestFile>& set) {
    Figure figure;
    QElapsedTimer timer;
    timer.start();
    std::vector<double> durations;
    for (const TestFile& file : set)
        durations.push_back(audioFileDuration(file.path).value_or(-1));
    figure.milliseconds = timer.nsecsElapsed() / 1e6;
    for (size_t i = 0; i < set.size(); ++i)
        figure.count(durations[i], set[i].seconds);
    return figure;
}

Figure probeSoxi(const std::vector<TestFile>& set) {
    Figure figure;
    const QString soxi = QStandardPaths::findExecutable("soxi");
    if (soxi.isEmpty())
        return figure;
    QStringList args{"-D"};
    for (const TestFile& file : set)
        args << file.path;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(soxi, args);
    process.waitForFinished(-1);
    figure.milliseconds = timer.nsecsElapsed() / 1e6;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (size_t i = 0; i < set.size() && i < size_t(lines.size()); ++i)
        figure.count(lines[qsizetype(i)].toDouble(), set[i].seconds);
    return figure;
}

Figure probeFfprobe(const std::vector<TestFile>& set) {
    Figure figure;
    const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
    if (ffprobe.isEmpty())
        return figure;
    QElapsedTimer timer;
    timer.start();
    std::vector<double> durations;
    for (const TestFile& file : set) {
        QProcess process;
        process.start(ffprobe, {"-v", "error", "-show_entries", "format=duration", "-of",
                                "default=noprint_wrappers=1:nokey=1", file.path});
        process.waitForFinished(-1);
        durations.push_back(process.readAllStandardOutput().trimmed().toDouble());
    }
    figure.milliseconds = timer.nsecsElapsed() / 1e6;
    for (size_t i = 0; i < set.size(); ++i)
        figure.count(durations[i], set[i].seconds);
    return figure;
}

void printRow(const char* tool, const Figure& figure, const Figure& ours) {
    if (figure.milliseconds < 0) {
        std::printf("  %-28s not installed\n", tool);
        return;
    }
    std::printf("  %-28s %9.1f ms  %6.1fx ours  exact %3d  short %3d\n", tool, figure.milliseconds,
                figure.milliseconds / ours.milliseconds, figure.exact, figure.tooShort);
}

void report(const char* title, const std::vector<TestFile>& set) {
    probeOurs(set); // the first pass only brings every file into the page cache
    const Figure ours = probeOurs(set);
    std::printf("%s (%d files)\n", title, filesPerSet);
    std::printf("  %-28s %9.1f ms  %6s       exact %3d  short %3d\n", "audioFileDuration",
                ours.milliseconds, "", ours.exact, ours.tooShort);
    printRow("soxi -D (one run)", probeSoxi(set), ours);
    printRow("ffprobe (one run per file)", probeFfprobe(set), ours);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    QDir root(dir.path());
    root.mkdir("tagged");
    root.mkdir("untagged");

    QElapsedTimer generation;
    generation.start();
    const std::vector<TestFile> tagged = makeSet(QDir(root.filePath("tagged")), true);
    const std::vector<TestFile> untagged = makeSet(QDir(root.filePath("untagged")), false);
    std::printf("generated %d distinct files per set (3 s to 60 s), copied to %d each, in %.1f s\n",
                distinctFiles, filesPerSet, generation.elapsed() / 1000.0);

    report("MP3 with the Xing/LAME tag (target: under 2000 ms)", tagged);
    report("MP3 without the tag", untagged);
    return 0;
}
