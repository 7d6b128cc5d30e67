// Duration probe over 500 tagged MP3, 500 untagged MP3 and 500 M4A (AAC) files, beside `soxi -D`
// (one run over all files; it reads no M4A) and `ffprobe` (one run per file, as a caller scripting
// it would) on the same files.
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
#include <functional>
#include <optional>
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

// The container of each distinct file: the set alternates between the two (CBR and VBR).
struct SetKind {
    testaudio::Container even;
    testaudio::Container odd;
    const char* extension;
};

std::vector<TestFile> makeSet(const QDir& dir, const SetKind& kind) {
    std::vector<TestFile> distinct;
    for (int variant = 0; variant < distinctFiles; ++variant) {
        const testaudio::Spec spec = specFor(variant);
        const testaudio::Container container = variant % 2 == 1 ? kind.odd : kind.even;
        const QString path = dir.filePath(QString("source%1.%2").arg(variant).arg(kind.extension));
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
        const QString path =
            dir.filePath(QString("track%1.%2").arg(i, 3, 10, QChar('0')).arg(kind.extension));
        QFile::copy(source.path, path);
        set.push_back({path, source.seconds});
    }
    return set;
}

struct Figure {
    bool available = false;
    int files = 0;
    double milliseconds = 0;
    int exact = 0;    // within a millisecond of the generated length
    int tooShort = 0; // more than 50 ms short of it: the track would end before its time

    double perFile() const { return milliseconds / files; }
};

using Probe = std::function<std::optional<std::vector<double>>(const std::vector<TestFile>&)>;

Figure measure(const Probe& probe, const std::vector<TestFile>& files) {
    QElapsedTimer timer;
    timer.start();
    const std::optional<std::vector<double>> durations = probe(files);
    Figure figure;
    figure.milliseconds = timer.nsecsElapsed() / 1e6;
    if (!durations)
        return figure;
    figure.available = true;
    figure.files = int(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const double measured = i < durations->size() ? (*durations)[i] : -1;
        figure.exact += std::abs(measured - files[i].seconds) < 0.001;
        figure.tooShort += measured < files[i].seconds - 0.05;
    }
    return figure;
}

std::optional<std::vector<double>> ours(const std::vector<TestFile>& files) {
    std::vector<double> durations;
    for (const TestFile& file : files)
        durations.push_back(audioFileDuration(file.path).value_or(-1));
    return durations;
}

std::optional<std::vector<double>> soxi(const std::vector<TestFile>& files) {
    const QString program = QStandardPaths::findExecutable("soxi");
    if (program.isEmpty())
        return std::nullopt;
    QStringList args{"-D"};
    for (const TestFile& file : files)
        args << file.path;
    QProcess process;
    process.start(program, args);
    process.waitForFinished(-1);
    std::vector<double> durations;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
        durations.push_back(line.toDouble());
    return durations;
}

std::optional<std::vector<double>> ffprobe(const std::vector<TestFile>& files) {
    const QString program = QStandardPaths::findExecutable("ffprobe");
    if (program.isEmpty())
        return std::nullopt;
    std::vector<double> durations;
    for (const TestFile& file : files) {
        QProcess process;
        process.start(program, {"-v", "error", "-show_entries", "format=duration", "-of",
                                "default=noprint_wrappers=1:nokey=1", file.path});
        process.waitForFinished(-1);
        durations.push_back(process.readAllStandardOutput().trimmed().toDouble());
    }
    return durations;
}

void printRow(const char* tool, const Figure& figure, const Figure& reference) {
    if (!figure.available) {
        std::printf("  %-30s not installed\n", tool);
        return;
    }
    std::printf("  %-30s %4d files %9.1f ms %7.3f ms/file %7.1fx  exact %3d  short %3d\n", tool,
                figure.files, figure.milliseconds, figure.perFile(),
                figure.perFile() / reference.perFile(), figure.exact, figure.tooShort);
}

void report(const char* title, const std::vector<TestFile>& set, bool soxiReads) {
    measure(ours, set); // the first pass only brings every file into the page cache
    const Figure reference = measure(ours, set);
    std::printf("%s\n", title);
    printRow("audioFileDuration", reference, reference);
    if (soxiReads)
        printRow("soxi -D (one run)", measure(soxi, set), reference);
    // A process per file is slow; a tenth of the set still covers every distinct file.
    const std::vector<TestFile> sample(set.begin(), set.begin() + filesPerSet / 10);
    printRow("ffprobe (one run per file)", measure(ffprobe, sample), reference);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    QDir root(dir.path());
    using testaudio::Container;
    QElapsedTimer generation;
    generation.start();
    const auto set = [&root](const char* name, const SetKind& kind) {
        root.mkdir(name);
        return makeSet(QDir(root.filePath(name)), kind);
    };
    const std::vector<TestFile> tagged =
        set("tagged", {Container::Mp3Cbr, Container::Mp3Vbr, "mp3"});
    const std::vector<TestFile> untagged =
        set("untagged", {Container::Mp3CbrNoTag, Container::Mp3VbrNoTag, "mp3"});
    const std::vector<TestFile> m4a = set("m4a", {Container::M4aAac, Container::M4aAac, "m4a"});
    std::printf("generated %d distinct files per set (3 s to 60 s), copied to %d each, in %.1f s\n",
                distinctFiles, filesPerSet, generation.elapsed() / 1000.0);

    std::printf("ratio: time per file against audioFileDuration's; exact: within 1 ms of the "
                "generated length; short: more than 50 ms short of it\n");
    report("MP3 with the Xing/LAME tag (target: 500 files under 2000 ms)", tagged, true);
    report("MP3 without the tag", untagged, true);
    report("M4A (AAC)", m4a, false);
    return 0;
}
