// Waveform of a 5-minute stereo MP3 at 1,000 points, beside decoding the same file through the
// AudioDecoder alone, the mpg123 command decoding it to nothing, and ffmpeg's showwavespic filter.
// Target: within 1.2x of the bare decode and faster than both commands. Best of several
// interleaved rounds.

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
#include <optional>
#include <vector>

namespace {

constexpr int rounds = 7;
constexpr int points = 1000;

struct Contender {
    const char* name;
    std::function<bool()> run;
};

// Every round runs each contender once, so a machine that slows down or speeds up part-way
// through affects all of them alike. Each contender's best wall time in milliseconds; none for
// one whose run failed.
std::vector<std::optional<double>> race(const std::vector<Contender>& contenders) {
    std::vector<std::optional<double>> fastest(contenders.size());
    std::vector<bool> failed(contenders.size(), false);
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < contenders.size(); ++i) {
            if (failed[i])
                continue;
            QElapsedTimer timer;
            timer.start();
            if (!contenders[i].run()) {
                failed[i] = true;
                fastest[i].reset();
                continue;
            }
            const double elapsed = double(timer.nsecsElapsed()) / 1e6;
            fastest[i] = std::min(fastest[i].value_or(elapsed), elapsed);
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

    const QString picture = folder.filePath("waves.png");
    const std::vector<Contender> contenders{
        {"waveform (SamplesExtractor)", [&] { return extractWaveform(path); }},
        {"bare decode (AudioDecoder, 16-bit)", [&] { return decodeOnly(path); }},
        {"mpg123 -q -t (decode to nothing)",
         [&] {
             return runCommand("mpg123", {"-q", "-t", path});
         }},
        {"ffmpeg showwavespic",
         [&] {
             return runCommand("ffmpeg",
                               {"-v", "error", "-nostdin", "-y", "-i", path, "-filter_complex",
                                QString("showwavespic=s=%1x200").arg(points), "-frames:v", "1",
                                picture});
         }},
    };
    const std::vector<std::optional<double>> fastest = race(contenders);

    const std::optional<double> waveform = fastest[0];
    const std::optional<double> bare = fastest[1];
    std::printf("5-minute stereo MP3, %d points, best of %d interleaved rounds\n", points, rounds);
    for (size_t i = 0; i < contenders.size(); ++i)
        report(contenders[i].name, fastest[i], bare);
    return waveform && bare ? 0 : 1;
}
