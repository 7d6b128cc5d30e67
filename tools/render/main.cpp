// varlin-render IN OUT.wav [--from SECONDS] [--seconds S] [--rate R] [--volume V]
//               [--device-rate HZ]
// varlin-render IN --device [--from SECONDS] [--seconds S] [--rate R] [--volume V]
// Plays IN through AudioFilePlayer and the engine's offline output and writes what would have
// been heard as 16-bit WAV. The device rate defaults to the file's own. With --device it plays
// on the sound device instead, in real time (with SDL_AUDIODRIVER=disk SDL records it).

#include "platform/Diagnostics.h"
#include "platform/audio/AudioDecoder.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/AudioFilePlayer.h"
#include "platform/audio/OfflineAudioOutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <optional>
#include <sndfile.h>
#include <vector>

namespace {

std::optional<double> number(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name))
        return std::nullopt;
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        printLine(QStringLiteral("varlin-render: --%1 needs a number").arg(name));
        std::exit(2);
    }
    return value;
}

bool writeWav(const QString& path, const std::vector<float>& samples, AudioFormat format) {
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const auto frames = sf_count_t(samples.size() / size_t(format.channels));
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

// Plays to the end (or for `seconds`) on the device, waiting in the event loop.
int playOnDevice(AudioFilePlayer& player, std::optional<double> seconds) {
    QEventLoop loop;
    QObject::connect(&player, &AudioFilePlayer::finishedPlaying, &loop, &QEventLoop::quit);
    if (seconds)
        QTimer::singleShot(int(*seconds * 1000), &loop, &QEventLoop::quit);
    if (!player.play()) {
        printLine(QStringLiteral("varlin-render: the engine cannot play more sounds at once"));
        return 1;
    }
    loop.exec();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Renders an audio file through Varlin's engine into a WAV file.");
    parser.addHelpOption();
    parser.addPositionalArgument("in", "audio file to play");
    parser.addPositionalArgument("out", "WAV file to write");
    parser.addOption({"from", "start position in seconds", "seconds"});
    parser.addOption({"seconds", "length to render (default: to the end)", "seconds"});
    parser.addOption({"rate", "playing rate, 0.5 to 2.0", "rate"});
    parser.addOption({"volume", "volume, 0 to 1", "volume"});
    parser.addOption({"device-rate", "output sample rate (default: the file's)", "hz"});
    parser.addOption({"device", "play on the sound device instead of writing OUT"});
    parser.process(app);
    const QStringList paths = parser.positionalArguments();
    const bool onDevice = parser.isSet("device");
    if (paths.size() != (onDevice ? 1 : 2))
        parser.showHelp(2);

    QString error;
    const auto decoder = AudioDecoder::open(paths[0], &error);
    if (!decoder) {
        printLine(QStringLiteral("varlin-render: %1").arg(error));
        return 1;
    }
    const AudioFormat format{int(number(parser, "device-rate").value_or(decoder->sampleRate())),
                             decoder->channels()};
    if (format.sampleRate < 8000 || format.sampleRate > 384000) {
        printLine(QStringLiteral("varlin-render: --device-rate must lie between 8000 and 384000"));
        return 2;
    }
    const auto player = AudioFilePlayer::create(
        QUrl::fromLocalFile(QFileInfo(paths[0]).absoluteFilePath()), &error);
    if (!player) {
        printLine(QStringLiteral("varlin-render: %1").arg(error));
        return 1;
    }
    const double from = number(parser, "from").value_or(0.0);
    const double rate = number(parser, "rate").value_or(1.0);
    player->setEnableRate(true);
    player->setRate(float(rate));
    player->setVolume(float(number(parser, "volume").value_or(1.0)));
    player->setCurrentTime(from);
    bool finished = false;
    QObject::connect(player.get(), &AudioFilePlayer::finishedPlaying, [&] { finished = true; });
    if (onDevice)
        return playOnDevice(*player, number(parser, "seconds"));
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput(format);
    player->play();

    // To the end, the output is as long as the rest of the file at this rate; the last piece
    // rendered runs a little past it into silence.
    const double toEnd = (player->duration() - player->currentTime()) / player->rate();
    const auto wanted =
        int64_t(std::llround(number(parser, "seconds").value_or(toEnd) * format.sampleRate));
    std::vector<float> samples;
    samples.reserve(size_t(wanted * format.channels));
    constexpr int piece = 4096;
    while (output.framesRendered() < wanted && !finished) {
        const auto count = int(std::min<int64_t>(piece, wanted - output.framesRendered()));
        const std::vector<float> rendered = output.render(count);
        samples.insert(samples.end(), rendered.begin(), rendered.end());
        QCoreApplication::processEvents();
    }
    samples.resize(std::min(samples.size(), size_t(wanted * format.channels)));
    if (!writeWav(paths[1], samples, format)) {
        printLine(QStringLiteral("varlin-render: cannot write %1").arg(paths[1]));
        return 1;
    }
    return 0;
}
