// Waveform of a 5-minute stereo MP3 at 1,000 points, beside decoding the same file through the
// AudioDecoder alone, the mpg123 command decoding it to nothing, and ffmpeg's showwavespic filter.
// Target: within 1.2x of the bare decode and faster than both commands. Best of several runs.

#include "platform/audio/AudioDecoder.h"
#include "testaudio/TestAudio.h"
#include "waveform/SamplesExtractor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int runs = 5;
constexpr int points = 1000;

// Best wall time in milliseconds; nullopt as soon as one run fails.
std::optional<double> best(const std::function<bool()>& run) {
    double fastest = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return std::nullopt;
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        fastest = i == 0 ? elapsed : std::min(fastest, elapsed);
    }
    return fastest;
}

bool extractWaveform(const QString& path) {
    SamplesExtractor extractor;
    QEventLoop loop;
    bool ok = false;
    extractor.extractSamples(
        QUrl::fromLocalFile(path), std::nullopt, points,
        [&](const std::vector<float>& samples, float, const std::optional<QString>&) {
            ok = samples.size() >= size_t(points);
            loop.quit();
        },
        [&](const SamplesExtractorError& error, const std::optional<QString>&) {
            std::printf("extraction failed: %s\n", qPrintable(error.description()));
            loop.quit();
        });
    loop.exec();
    return ok;
}

bool decodeOnly(const QString& path) {
    const auto decoder = AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16);
    if (!decoder)
        return false;
    std::vector<int16_t> buffer(size_t(4096 * decoder->channels()));
    int64_t read = 0;
    while ((read = decoder->readInt16(buffer.data(), 4096)) > 0) {
    }
    return read == 0;
}

bool runCommand(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void report(const char* name, std::optional<double> milliseconds, std::optional<double> bare) {
    if (!milliseconds) {
        std::printf("%-44s failed\n", name);
        return;
    }
    std::printf("%-44s %8.1f ms", name, *milliseconds);
    if (bare)
        std::printf("   %.2fx the bare decode", *milliseconds / *bare);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath("five-minutes.mp3");
    testaudio::Spec spec;
    spec.signal = testaudio::Signal::Tone;
    spec.seconds = 300;
    spec.channels = 2;
    spec.amplitude = 0.6;
    QString error;
    if (!folder.isValid() || !testaudio::write(spec, testaudio::Container::Mp3Cbr, path, &error)) {
        std::printf("cannot make the test file: %s\n", qPrintable(error));
        return 1;
    }

    const auto bare = best([&] { return decodeOnly(path); });
    const auto waveform = best([&] { return extractWaveform(path); });
    const auto mpg123 = best([&] { return runCommand("mpg123", {"-q", "-t", path}); });
    const QString picture = folder.filePath("waves.png");
    const auto ffmpeg = best([&] {
        return runCommand("ffmpeg", {"-v", "error", "-nostdin", "-y", "-i", path, "-filter_complex",
                                     QString("showwavespic=s=%1x200").arg(points), "-frames:v", "1",
                                     picture});
    });

    std::printf("5-minute stereo MP3, %d points, best of %d runs\n", points, runs);
    report("waveform (SamplesExtractor)", waveform, bare);
    report("bare decode (AudioDecoder, 16-bit)", bare, bare);
    report("mpg123 -q -t (decode to nothing)", mpg123, bare);
    report("ffmpeg showwavespic", ffmpeg, bare);
    return waveform && bare ? 0 : 1;
}
