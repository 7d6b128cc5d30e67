// Waveform of a 5-minute stereo MP3 and of a 5-minute M4A (AAC) at 1,000 points, beside decoding
// the same file through the AudioDecoder alone, a command decoding it to nothing (mpg123 for the
// MP3, `ffmpeg -f null` for the M4A), and ffmpeg's showwavespic filter. Targets: the MP3 within
// 1.2x of the bare decode and faster than both commands; the M4A within 1.2x of FFmpeg's bare
// decode. Best of several interleaved rounds.

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

// Races the contenders on the file and prints each one's best time, as a ratio to the bare decode
// and to the contender named by `peer` (when there is one). False when the waveform failed.
bool report(const char* title, const std::vector<Contender>& contenders,
            std::optional<size_t> peer) {
    const std::vector<std::optional<double>> fastest = race(contenders);
    const std::optional<double> bare = fastest[1];
    std::printf("%s, %d points, best of %d interleaved rounds\n", title, points, rounds);
    for (size_t i = 0; i < contenders.size(); ++i) {
        if (!fastest[i]) {
            std::printf("  %-42s failed\n", contenders[i].name);
            continue;
        }
        std::printf("  %-42s %8.1f ms", contenders[i].name, *fastest[i]);
        if (bare)
            std::printf("   %.2fx the bare decode", *fastest[i] / *bare);
        if (peer && fastest[*peer])
            std::printf("   %.2fx %s", *fastest[i] / *fastest[*peer], contenders[*peer].name);
        std::printf("\n");
    }
    return fastest[0].has_value();
}

Contender showwavespic(const QString& path, const QString& picture) {
    return {"ffmpeg showwavespic", [=] {
                return runCommand("ffmpeg",
                                  {"-v", "error", "-nostdin", "-y", "-i", path, "-filter_complex",
                                   QString("showwavespic=s=%1x200").arg(points), "-frames:v", "1",
                                   picture});
            }};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString mp3 = folder.filePath("five-minutes.mp3");
    const QString m4a = folder.filePath("five-minutes.m4a");
    testaudio::Spec spec;
    spec.signal = testaudio::Signal::Tone;
    spec.seconds = 300;
    spec.channels = 2;
    spec.amplitude = 0.6;
    QString error;
    if (!folder.isValid() || !testaudio::write(spec, testaudio::Container::Mp3Cbr, mp3, &error) ||
        !testaudio::write(spec, testaudio::Container::M4aAac, m4a, &error)) {
        std::printf("cannot make the test files: %s\n", qPrintable(error));
        return 1;
    }

    const QString picture = folder.filePath("waves.png");
    const bool mp3Done =
        report("5-minute stereo MP3",
               {{"waveform (SamplesExtractor)", [&] { return extractWaveform(mp3); }},
                {"bare decode (AudioDecoder, 16-bit)", [&] { return decodeOnly(mp3); }},
                {"mpg123 -q -t (decode to nothing)",
                 [&] {
                     return runCommand("mpg123", {"-q", "-t", mp3});
                 }},
                showwavespic(mp3, picture)},
               std::nullopt);
    const bool m4aDone =
        report("5-minute stereo M4A (AAC)",
               {{"waveform (SamplesExtractor)", [&] { return extractWaveform(m4a); }},
                {"bare decode (AudioDecoder, 16-bit)", [&] { return decodeOnly(m4a); }},
                {"ffmpeg -f null - (decode to nothing)",
                 [&] {
                     return runCommand("ffmpeg",
                                       {"-v", "error", "-nostdin", "-i", m4a, "-f", "null", "-"});
                 }},
                showwavespic(m4a, picture)},
               2);
    return mp3Done && m4aDone ? 0 : 1;
}
