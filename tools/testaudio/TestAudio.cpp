#include "testaudio/TestAudio.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
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

// The command that encodes `wav` as `path` in the container: LAME writes the Xing/LAME tag (no
// library interface on Debian does), FFmpeg the M4A edit list. AAC goes without noise
// substitution, whose noise is drawn afresh after every seek: so a seek decodes the very samples
// a reading from the start does.
QStringList encoderCommand(Container container, const QString& wav, const QString& path) {
    const QStringList lame{"lame", "--quiet", "--noreplaygain"};
    const QStringList ffmpeg{"ffmpeg", "-v", "error", "-nostdin", "-y", "-i", wav, "-c:a"};
    const QStringList aac{"aac", "-aac_pns", "0", "-b:a", "160k"};
    switch (container) {
    case Container::Mp3Cbr:
        return lame + QStringList{"-b", "128", "--cbr", wav, path};
    case Container::Mp3Vbr:
        return lame + QStringList{"-V", "2", wav, path};
    case Container::Mp3CbrNoTag:
        return lame + QStringList{"-b", "128", "--cbr", "-t", wav, path};
    case Container::Mp3VbrNoTag:
        return lame + QStringList{"-V", "2", "-t", wav, path};
    case Container::M4aAac:
        return ffmpeg + aac + QStringList{"-f", "ipod", path};
    case Container::M4aAacItunes:
        return ffmpeg + aac + QStringList{"-use_editlist", "0", "-f", "ipod", path};
    case Container::AdtsAac:
        return ffmpeg + aac + QStringList{"-f", "adts", path};
    case Container::M4aAlac:
        return ffmpeg + QStringList{"alac", "-movflags", "+faststart", "-f", "ipod", path};
    case Container::WavPack:
        return ffmpeg + QStringList{"wavpack", "-f", "wv", path};
    case Container::Wav:
    case Container::Flac:
    case Container::OggVorbis:
        break;
    }
    return {};
}

void putBigEndian32(QByteArray& bytes, qsizetype at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (24 - 8 * i));
}

uint32_t bigEndian32(const QByteArray& bytes, qsizetype at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

QByteArray box(const char* type, const QByteArray& body) {
    QByteArray bytes(4, '\0');
    putBigEndian32(bytes, 0, uint32_t(8 + body.size()));
    return bytes + type + body;
}

// Where the box of `type` starts among the boxes from `at` to `end`; -1 when there is none.
qsizetype findBox(const QByteArray& bytes, qsizetype at, qsizetype end, const char* type) {
    while (at + 8 <= end) {
        if (bytes.mid(at + 4, 4) == type)
            return at;
        const uint32_t size = bigEndian32(bytes, at);
        if (size < 8)
            return -1;
        at += size;
    }
    return -1;
}

// iTunes marks its AAC's priming and padding with a freeform "iTunSMPB" tag instead of an edit
// list. FFmpeg writes the file with its moov box last, so the tag goes into moov/udta/meta/ilst
// without moving any audio.
bool addItunesGaplessTag(const QString& path, long long frames, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return fail(error, "cannot reopen " + path);
    QByteArray bytes = file.readAll();
    std::vector<qsizetype> parents;
    qsizetype at = 0;
    qsizetype end = bytes.size();
    for (const char* type : {"moov", "udta", "meta", "ilst"}) {
        at = findBox(bytes, at, end, type);
        if (at < 0)
            return fail(error, QString("no %1 box in %2").arg(type, path));
        parents.push_back(at);
        end = at + bigEndian32(bytes, at);
        at += std::strcmp(type, "meta") == 0 ? 12 : 8; // meta has a version and flags
    }
    if (parents.front() + bigEndian32(bytes, parents.front()) != bytes.size())
        return fail(error, "the moov box is not last in " + path);
    constexpr long long priming = 1024; // FFmpeg's AAC encoder
    const long long padding = (frames + priming + 1023) / 1024 * 1024 - frames - priming;
    const QByteArray value = QString(" 00000000 %1 %2 %3 00000000 00000000")
                                 .arg(priming, 8, 16, QChar('0'))
                                 .arg(padding, 8, 16, QChar('0'))
                                 .arg(frames, 16, 16, QChar('0'))
                                 .toUpper()
                                 .toLatin1();
    const QByteArray flags(4, '\0');
    const QByteArray tag =
        box("----", box("mean", flags + "com.apple.iTunes") + box("name", flags + "iTunSMPB") +
                        box("data", QByteArray("\0\0\0\1\0\0\0\0", 8) + value));
    bytes.insert(end, tag);
    for (qsizetype parent : parents)
        putBigEndian32(bytes, parent, uint32_t(bigEndian32(bytes, parent) + tag.size()));
    return file.seek(0) && file.write(bytes) == bytes.size() ? true
                                                             : fail(error, "cannot write " + path);
}

bool writeEncoded(const Spec& spec, Container container, const QString& path, QString* error) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(error, "cannot create a temporary folder");
    const QString wav = scratch.filePath("source.wav");
    if (!writeWithSndfile(spec, SF_FORMAT_WAV | SF_FORMAT_PCM_16, wav, error))
        return false;
    QStringList command = encoderCommand(container, wav, path);
    const QString name = command.takeFirst();
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return fail(error, QString("the %1 command is not installed").arg(name));

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, command);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return fail(error,
                    QString("%1 failed on %2: %3")
                        .arg(program, path, QString::fromLocal8Bit(process.readAll()).trimmed()));
    return container != Container::M4aAacItunes ||
           addItunesGaplessTag(path, frameCount(spec), error);
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
    case Container::OggVorbis:
        return writeWithSndfile(spec, SF_FORMAT_OGG | SF_FORMAT_VORBIS, path, error);
    default:
        return writeEncoded(spec, container, path, error);
    }
}

} // namespace testaudio
