#include "platform/audio/AudioDecoder.h"

#include "platform/Diagnostics.h"
#include "testaudio/TestAudio.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sndfile.h>
#include <vector>

using testaudio::Container;
using testaudio::Signal;

namespace {

struct Case {
    Container container;
    const char* name;
};

const Case exactContainers[] = {
    {Container::Wav, "wav"},        {Container::Flac, "flac"},
    {Container::Mp3Cbr, "mp3 cbr"}, {Container::Mp3Vbr, "mp3 vbr"},
    {Container::M4aAlac, "alac"},   {Container::WavPack, "wavpack"},
    {Container::M4aAac, "aac"},     {Container::M4aAacItunes, "aac as itunes"}};
// No stated length: the frames are counted, with the encoder's priming and padding left in.
const Case untaggedContainers[] = {{Container::Mp3CbrNoTag, "untagged mp3 cbr"},
                                   {Container::Mp3VbrNoTag, "untagged mp3 vbr"},
                                   {Container::AdtsAac, "bare aac"}};

class AudioDecoderTest : public testing::Test {
protected:
    // Every file is named .ogg, which none of them is: the content chooses the decoder.
    QString make(const testaudio::Spec& spec, Container container, const QString& name) {
        QString path = dir.filePath(name + ".ogg");
        QString error;
        EXPECT_TRUE(testaudio::write(spec, container, path, &error)) << error.toStdString();
        return path;
    }

    QString writeBytes(const QString& name, const QByteArray& bytes) {
        QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

std::vector<float> decodeAll(AudioDecoder& decoder) {
    std::vector<float> samples;
    std::vector<float> block(1000 * size_t(decoder.channels()));
    for (;;) {
        const int64_t read = decoder.readFloat(block.data(), 1000);
        EXPECT_GE(read, 0);
        if (read <= 0)
            return samples;
        samples.insert(samples.end(), block.begin(), block.begin() + read * decoder.channels());
    }
}

int64_t frames(const std::vector<float>& samples, const AudioDecoder& decoder) {
    return int64_t(samples.size()) / decoder.channels();
}

// Seeks, backwards as well as forwards, read the samples that decoding from the start gave; the
// end is a place to seek to, past it is not.
void expectSeeksMatch(AudioDecoder& decoder, const std::vector<float>& whole,
                      std::initializer_list<int64_t> targets) {
    const auto channels = size_t(decoder.channels());
    for (const int64_t frame : targets) {
        ASSERT_TRUE(decoder.seek(frame));
        std::vector<float> block(4096 * channels);
        ASSERT_EQ(decoder.readFloat(block.data(), 4096), 4096);
        for (size_t i = 0; i < block.size(); ++i)
            ASSERT_NEAR(block[i], whole[size_t(frame) * channels + i], 1e-4) << "frame " << frame;
    }
    EXPECT_TRUE(decoder.seek(decoder.frameCount()));
    float tail[2];
    EXPECT_EQ(decoder.readFloat(tail, 1), 0);
    EXPECT_FALSE(decoder.seek(-1));
    EXPECT_FALSE(decoder.seek(decoder.frameCount() + 1));
}

} // namespace

TEST_F(AudioDecoderTest, lengthIsExactAClickLiesAtItsSampleAndSeeksReadWhatDecodingRead) {
    testaudio::Spec spec;
    spec.signal = Signal::Clicks;
    spec.seconds = 2.3456;
    spec.clickTimes = {0.5, 1.2345, 2.25};
    for (const Case& c : exactContainers) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.name) + " channels " + std::to_string(channels));
            spec.channels = channels;
            const QString path = make(spec, c.container, QString("clicks%1").arg(channels));
            QString error;
            auto decoder = AudioDecoder::open(path, &error);
            ASSERT_TRUE(decoder) << error.toStdString();
            EXPECT_EQ(decoder->sampleRate(), 44100);
            EXPECT_EQ(decoder->channels(), channels);
            // FFmpeg writes the edit list in milliseconds: the length is the container's, within
            // an AAC frame of the source's.
            const double slack = c.container == Container::M4aAac ? 1024 : 0;
            EXPECT_NEAR(decoder->frameCount(), testaudio::frameCount(spec), slack);
            const std::vector<float> whole = decodeAll(*decoder);
            EXPECT_EQ(frames(whole, *decoder), decoder->frameCount());
            EXPECT_NEAR(*audioFileDuration(path), 2.3456, 1e-4 + slack / 44100);

            // A lossy encoder smears a one-sample click; its peak stays within a few samples.
            const bool lossless = c.container == Container::Wav || c.container == Container::Flac ||
                                  c.container == Container::M4aAlac ||
                                  c.container == Container::WavPack;
            for (double time : spec.clickTimes) {
                const int64_t click = std::llround(time * spec.sampleRate);
                int64_t peak = click - 32;
                for (int64_t frame = peak; frame < click + 32; ++frame)
                    if (std::abs(whole[size_t(frame) * channels]) >
                        std::abs(whole[size_t(peak) * channels]))
                        peak = frame;
                EXPECT_NEAR(double(peak), double(click), lossless ? 0 : 3);
            }
            expectSeeksMatch(*decoder, whole, {54000, 22000, 98000, 1, 0});
        }
    }
}

TEST_F(AudioDecoderTest, untaggedStreamsCountTheFramesThatDecodeToTheEnd) {
    // An untagged VBR file of mostly silence is where a length estimated from the first frame's
    // bit rate comes out far too short.
    testaudio::Spec spec;
    spec.signal = Signal::Clicks;
    spec.seconds = 20;
    // Clicks where the seeks land, the encoder's delay (less than 4096 frames) included.
    spec.clickTimes = {0.01, 0.02, 10.0, 19.5};
    for (const Case& c : untaggedContainers) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.name) + " channels " + std::to_string(channels));
            spec.channels = channels;
            auto decoder =
                AudioDecoder::open(make(spec, c.container, QString("clicks%1").arg(channels)));
            ASSERT_TRUE(decoder);
            EXPECT_GE(decoder->frameCount(), testaudio::frameCount(spec));
            // Without the tag the encoder delay and padding stay in: at most a few MPEG frames.
            EXPECT_LT(decoder->frameCount(), testaudio::frameCount(spec) + 4 * 1152);
            const std::vector<float> whole = decodeAll(*decoder);
            EXPECT_EQ(frames(whole, *decoder), decoder->frameCount());
            expectSeeksMatch(*decoder, whole, {440500, 859500, 1, 0});
        }
    }
}

TEST_F(AudioDecoderTest, taggedMp3LengthSurvivesAnId3TagAndNotATruncation) {
    testaudio::Spec spec;
    spec.seconds = 5;
    for (Container container : {Container::Mp3Cbr, Container::Mp3Vbr}) {
        QFile plain(make(spec, container, "plain"));
        ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
        const QByteArray stream = plain.readAll();

        // An ID3v2.4 tag of 300 bytes (syncsafe size 2 * 128 + 44) ahead of the stream.
        const QByteArray id3 =
            QByteArray("ID3\x04\x00\x00\x00\x00\x02\x2c", 10) + QByteArray(300, '\0');
        auto tagged = AudioDecoder::open(writeBytes("id3.mp3", id3 + stream));
        ASSERT_TRUE(tagged);
        EXPECT_EQ(tagged->frameCount(), testaudio::frameCount(spec));
        EXPECT_EQ(frames(decodeAll(*tagged), *tagged), testaudio::frameCount(spec));

        // A cut-off download keeps the tag of the whole stream; the count must follow the file.
        for (const QByteArray& head :
             {stream.left(stream.size() * 3 / 5), id3 + stream.left(stream.size() / 2)}) {
            auto truncated = AudioDecoder::open(writeBytes("cut.mp3", head));
            ASSERT_TRUE(truncated);
            EXPECT_LT(truncated->frameCount(), testaudio::frameCount(spec) * 2 / 3);
            EXPECT_EQ(frames(decodeAll(*truncated), *truncated), truncated->frameCount());
        }

        // A damaged tag that counts half the frames: reads end at the length it gives.
        QByteArray halved = stream;
        const qsizetype tag = std::max(halved.indexOf("Xing"), halved.indexOf("Info"));
        ASSERT_GT(tag, 0);
        const quint32 count = qFromBigEndian<quint32>(halved.constData() + tag + 8);
        qToBigEndian<quint32>(count / 2, halved.data() + tag + 8);
        auto damaged = AudioDecoder::open(writeBytes("half.mp3", halved));
        ASSERT_TRUE(damaged);
        EXPECT_LT(damaged->frameCount(), testaudio::frameCount(spec));
        EXPECT_EQ(frames(decodeAll(*damaged), *damaged), damaged->frameCount());
    }
}

// The player reads floats from a decoder that prefers them, the waveform 16-bit samples from one
// that prefers those; no caller mixes the two.
TEST_F(AudioDecoderTest, int16ReadsAgreeWithFloatReadsAndLosslessFormatsGiveBackTheSource) {
    testaudio::Spec spec;
    spec.seconds = 1;
    spec.amplitude = 0.9;
    spec.signal = Signal::Square;
    std::vector<float> source;
    for (const Case& c : {exactContainers[0], exactContainers[1], exactContainers[2],
                          exactContainers[4], exactContainers[5]}) {
        SCOPED_TRACE(c.name);
        const QString path = make(spec, c.container, "agree");
        const std::vector<float> expected = decodeAll(*AudioDecoder::open(path));
        if (c.container == Container::Wav) {
            source = expected;
        } else if (c.container != Container::Mp3Cbr) {
            EXPECT_EQ(expected, source);
        }
        auto ints = AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16);
        ASSERT_TRUE(ints);
        std::vector<int16_t> actual(expected.size());
        ASSERT_EQ(ints->readInt16(actual.data(), ints->frameCount()), ints->frameCount());
        // Through 16 bits, MP3 overshoot past full scale is clipped.
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_NEAR(actual[i], std::clamp(expected[i] * 32768.0, -32768.0, 32767.0), 1.0)
                << "sample " << i;
    }
}

// The generator writes only 16-bit WAV and FLAC; the other libsndfile containers are written here.
QByteArray writeWithSndfile(const QString& path, int format, int rate,
                            const std::vector<float>& mono) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    EXPECT_TRUE(file) << sf_strerror(nullptr);
    if (!file)
        return {};
    EXPECT_EQ(sf_writef_float(file, mono.data(), sf_count_t(mono.size())), sf_count_t(mono.size()));
    sf_close(file);
    QFile written(path);
    EXPECT_TRUE(written.open(QIODevice::ReadOnly));
    return written.readAll();
}

TEST_F(AudioDecoderTest, otherContainersReadWholeAndRefuseACutOffFile) {
    std::vector<float> tone(3 * 48000 + 123);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.3f * std::sin(float(i) * 0.05f);
    const struct {
        int format;
        const char* name;
    } containers[] = {{SF_FORMAT_OGG | SF_FORMAT_VORBIS, "vorbis.ogg"},
                      {SF_FORMAT_OGG | SF_FORMAT_OPUS, "opus.opus"},
                      {SF_FORMAT_WAV | SF_FORMAT_FLOAT, "float.wav"}};
    for (const auto& c : containers) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = writeWithSndfile(dir.filePath(c.name), c.format, 48000, tone);
        auto decoder = AudioDecoder::open(dir.filePath(c.name));
        ASSERT_TRUE(decoder);
        EXPECT_EQ(decoder->sampleRate(), 48000);
        EXPECT_EQ(decoder->channels(), 1);
        EXPECT_EQ(decoder->frameCount(), int64_t(tone.size()));
        EXPECT_EQ(frames(decodeAll(*decoder), *decoder), int64_t(tone.size()));
        if (c.format & SF_FORMAT_OGG) {
            QString error;
            EXPECT_FALSE(AudioDecoder::open(writeBytes("cut.ogg", bytes.left(bytes.size() * 2 / 3)),
                                            &error));
            EXPECT_FALSE(error.isEmpty());
        }
    }

    // Float samples read as 16-bit keep their level.
    writeWithSndfile(dir.filePath("levels.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100,
                     {0.5f, -0.25f, 1.0f});
    auto decoder =
        AudioDecoder::open(dir.filePath("levels.wav"), nullptr, AudioDecoder::SampleType::int16);
    int16_t read[3] = {};
    ASSERT_EQ(decoder->readInt16(read, 3), 3);
    EXPECT_NEAR(read[0], 16384, 1);
    EXPECT_NEAR(read[1], -8192, 1);
    EXPECT_GE(read[2], 32766);
}

TEST_F(AudioDecoderTest, unreadableFilesGiveNoDecoderAndAReason) {
    testaudio::Spec spec;
    spec.seconds = 5;
    // The first half of a whole file.
    const auto half = [&](Container container) {
        QFile file(make(spec, container, "whole"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.read(file.size() / 2);
    };
    QByteArray noise(qsizetype(64) * 1024, '\0');
    std::mt19937 random(15);
    std::generate(noise.begin(), noise.end(), [&random] { return char(random()); });

    // The content chooses the decoder, whatever the name: one file of each kind of damage.
    const QStringList paths{
        dir.filePath("missing.mp3"),
        dir.path(),
        writeBytes("empty.mp3", {}),
        writeBytes("text.mp3", "This is a text file, not an MP3.\n"),
        writeBytes("header.mp3", half(Container::Mp3Cbr).left(100)),
        writeBytes("half.flac", half(Container::Flac)),
        writeBytes("noise.mp3", noise),
        writeBytes("half.m4a", half(Container::M4aAac)),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(AudioDecoder::open(path, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains('\n'));

        DiagnosticCapture capture;
        EXPECT_FALSE(audioFileDuration(path));
        ASSERT_EQ(capture.lines().size(), 1);
        EXPECT_TRUE(capture.lines()[0].contains(path));
    }
}
