#include "testaudio/TestAudio.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <sndfile.h>

namespace testaudio {

namespace {

constexpr int16_t fullScale = 32767;

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

int16_t burstSample(const Spec& spec, double t) {
    constexpr double halfLength = 0.005;
    const auto next = std::lower_bound(spec.clickTimes.begin(), spec.clickTimes.end(), t);
    double offset = halfLength;
    if (next != spec.clickTimes.end())
        offset = std::min(offset, *next - t);
    if (next != spec.clickTimes.begin())
        offset = std::min(offset, t - *std::prev(next));
    if (offset >= halfLength)
        return 0;
    const double envelope = 0.5 + 0.5 * std::cos(std::numbers::pi * offset / halfLength);
    return int16_t(std::lrint(spec.amplitude * fullScale * envelope *
                              std::sin(2 * std::numbers::pi * spec.frequency * t)));
}

int16_t sampleAt(const Spec& spec, long long frame) {
    const double t = double(frame) / spec.sampleRate;
    switch (spec.signal) {
    case Signal::Tone:
        return int16_t(std::lrint(spec.amplitude * fullScale *
                                  std::sin(2 * std::numbers::pi * spec.frequency * t)));
    case Signal::Square:
        return std::fmod(spec.frequency * t, 1.0) < 0.5 ? fullScale : -fullScale;
    case Signal::Clicks:
        for (double click : spec.clickTimes)
            if (std::llround(click * spec.sampleRate) == frame)
                return fullScale;
        return 0;
    case Signal::Bursts:
        return burstSample(spec, t);
    case Signal::Silence:
        return 0;
    }
    return 0;
}

std::vector<int16_t> interleavedSamples(const Spec& spec) {
    const long long frames = frameCount(spec);
    std::vector<int16_t> samples(size_t(frames) * size_t(spec.channels));
    for (long long frame = 0; frame < frames; ++frame) {
        const int16_t value = sampleAt(spec, frame);
        for (int channel = 0; channel < spec.channels; ++channel)
            samples[size_t(frame) * spec.channels + channel] = value;
    }
    return samples;
}

bool writeWithSndfile(const Spec& spec, int format, const QString& path, QString* error) {
    SF_INFO info{};
    info.samplerate = spec.sampleRate;
    info.channels = spec.channels;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return fail(error, QString("cannot write %1: %2").arg(path, sf_strerror(nullptr)));
    const std::vector<int16_t> samples = interleavedSamples(spec);
    const sf_count_t frames = sf_count_t(samples.size() / size_t(spec.channels));
    const bool complete = sf_writef_short(file, samples.data(), frames) == frames;
    const bool closed = sf_close(file) == 0;
    if (!complete || !closed)
        return fail(error, QString("cannot write %1").arg(path));
    return true;
}

QStringList lameOptions(Container container) {
    switch (container) {
    case Container::Mp3Cbr:
        return {"-b", "128", "--cbr"};
    case Container::Mp3Vbr:
        return {"-V", "2"};
    case Container::Mp3CbrNoTag:
        return {"-b", "128", "--cbr", "-t"};
    case Container::Mp3VbrNoTag:
        return {"-V", "2", "-t"};
    case Container::Wav:
    case Container::Flac:
        break;
    }
    return {};
}

// LAME has no library interface on Debian that writes its tag, so encode with the lame command.
bool writeMp3(const Spec& spec, Container container, const QString& path, QString* error) {
    const QString lame = QStandardPaths::findExecutable("lame");
    if (lame.isEmpty())
        return fail(error, "the lame command is not installed");
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(error, "cannot create a temporary folder");
    const QString wav = scratch.filePath("source.wav");
    if (!writeWithSndfile(spec, SF_FORMAT_WAV | SF_FORMAT_PCM_16, wav, error))
        return false;

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lame, QStringList{"--quiet", "--noreplaygain"} + lameOptions(container) +
                            QStringList{wav, path});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return fail(error, QString("lame failed on %1: %2")
                               .arg(path, QString::fromLocal8Bit(process.readAll()).trimmed()));
    return true;
}

} // namespace

long long frameCount(const Spec& spec) {
    return std::llround(spec.seconds * spec.sampleRate);
}

bool write(const Spec& spec, Container container, const QString& path, QString* error) {
    if (spec.sampleRate <= 0 || spec.channels <= 0 || spec.seconds < 0)
        return fail(error, "invalid rate, channel count or length");
    switch (container) {
    case Container::Wav:
        return writeWithSndfile(spec, SF_FORMAT_WAV | SF_FORMAT_PCM_16, path, error);
    case Container::Flac:
        return writeWithSndfile(spec, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, path, error);
    case Container::Mp3Cbr:
    case Container::Mp3Vbr:
    case Container::Mp3CbrNoTag:
    case Container::Mp3VbrNoTag:
        return writeMp3(spec, container, path, error);
    }
    return fail(error, "unknown container");
}

} // namespace testaudio
