#include "platform/audio/AudioDecoder.h"

#include "platform/Diagnostics.h"
#include "support/TestFiles.h"
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
    // How far the stated length may lie from the source's, in frames; none when nothing states
    // it and the frames are counted, with the encoder's priming and padding left in.
    std::optional<int> lengthSlack;
    // How far a lossy encoder smears a one-sample click.
    int clickSlack = 0;
};

// FFmpeg writes the AAC edit list in milliseconds: its length lies within an AAC frame of the
// source's.
const Case containers[] = {{Container::Wav, "wav", 0},
                           {Container::Flac, "flac", 0},
                           {Container::M4aAlac, "alac", 0},
                           {Container::WavPack, "wavpack", 0},
                           {Container::Mp3Cbr, "mp3 cbr", 0, 3},
                           {Container::Mp3Vbr, "mp3 vbr", 0, 3},
                           {Container::OggVorbis, "vorbis", 0, 3},
                           {Container::M4aAac, "aac", 1024, 3},
                           {Container::M4aAacItunes, "aac as itunes", 0, 3},
                           {Container::Mp3CbrNoTag, "untagged mp3 cbr", std::nullopt},
                           {Container::Mp3VbrNoTag, "untagged mp3 vbr", std::nullopt},
                           {Container::AdtsAac, "bare aac", std::nullopt}};

class AudioDecoderTest : public testing::Test {
protected:
    // Every file is named .ogg, which most of them are not: the content chooses the decoder.
    QString make(const testaudio::Spec& spec, Container container, const QString& name) {
        QString path = dir.filePath(name + ".ogg");
        QString error;
        EXPECT_TRUE(testaudio::write(spec, container, path, &error)) << error.toStdString();
        return path;
    }

    QString writeBytes(const QString& name, const QByteArray& bytes) {
        return writeFile(dir.filePath(name), bytes);
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

// Seeks, backwards as well as forwards, read the samples that decoding from the start gave; the
// end is a place to seek to, past it is not.
void expectSeeksMatch(AudioDecoder& decoder, const std::vector<float>& whole,
                      const std::vector<int64_t>& targets) {
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
    testaudio::Spec stated;
    stated.signal = Signal::Clicks;
    stated.seconds = 2.3456;
    stated.clickTimes = {0.5, 1.2345, 2.25};
    // An untagged VBR file of mostly silence is where a length estimated from the first frame's
    // bit rate comes out far too short. Its clicks lie where the seeks land, the encoder's delay
    // (less than 4096 frames) included.
    testaudio::Spec counted = stated;
    counted.seconds = 20;
    counted.clickTimes = {0.01, 0.02, 10.0, 19.5};
    for (const Case& c : containers) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.name) + " channels " + std::to_string(channels));
            testaudio::Spec spec = c.lengthSlack ? stated : counted;
            spec.channels = channels;
            const QString path = make(spec, c.container, QString("clicks%1").arg(channels));
            QString error;
            auto decoder = AudioDecoder::open(path, &error);
            ASSERT_TRUE(decoder) << error.toStdString();
            EXPECT_EQ(decoder->sampleRate(), 44100);
            EXPECT_EQ(decoder->channels(), channels);
            const std::vector<float> whole = decodeAll(*decoder);
            EXPECT_EQ(int64_t(whole.size()) / channels, decoder->frameCount());
            if (!c.lengthSlack) {
                // Without the tag the encoder delay and padding stay in: a few MPEG frames.
                EXPECT_GE(decoder->frameCount(), testaudio::frameCount(spec));
                EXPECT_LT(decoder->frameCount(), testaudio::frameCount(spec) + 4 * 1152);
                expectSeeksMatch(*decoder, whole, {440500, 859500, 1, 0});
                continue;
            }
            EXPECT_NEAR(decoder->frameCount(), testaudio::frameCount(spec), *c.lengthSlack);
            EXPECT_NEAR(*audioFileDuration(path), spec.seconds, 1e-4 + *c.lengthSlack / 44100.0);
            for (double time : spec.clickTimes) {
                const int64_t click = std::llround(time * spec.sampleRate);
                int64_t peak = click - 32;
                for (int64_t frame = peak; frame < click + 32; ++frame)
                    if (std::abs(whole[size_t(frame) * channels]) >
                        std::abs(whole[size_t(peak) * channels]))
                        peak = frame;
                EXPECT_NEAR(double(peak), double(click), c.clickSlack);
            }
            expectSeeksMatch(*decoder, whole, {54000, 22000, 98000, 1, 0});

            // The player reads floats, the waveform 16-bit samples from a decoder that prefers
            // those; no caller mixes the two. Through 16 bits, overshoot past full scale is
            // clipped.
            auto ints = AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16);
            std::vector<int16_t> shorts(whole.size());
            ASSERT_EQ(ints->readInt16(shorts.data(), ints->frameCount()), ints->frameCount());
            for (size_t i = 0; i < whole.size(); ++i)
                ASSERT_NEAR(shorts[i], std::clamp(whole[i] * 32768.0, -32768.0, 32767.0), 1.0)
                    << "sample " << i;
        }
    }
}

TEST_F(AudioDecoderTest, taggedMp3LengthSurvivesAnId3TagAndNotATruncation) {
    testaudio::Spec spec;
    spec.seconds = 5;
    const int64_t expected = testaudio::frameCount(spec);
    // Opens the bytes, expects every frame it counts to decode, and returns the count.
    const auto count = [this](const QByteArray& bytes) -> int64_t {
        auto decoder = AudioDecoder::open(writeBytes("file.mp3", bytes));
        EXPECT_TRUE(decoder);
        if (!decoder)
            return -1;
        EXPECT_EQ(int64_t(decodeAll(*decoder).size()) / decoder->channels(), decoder->frameCount());
        return decoder->frameCount();
    };
    for (Container container : {Container::Mp3Cbr, Container::Mp3Vbr}) {
        const QByteArray stream = readFile(make(spec, container, "plain"));
        ASSERT_FALSE(stream.isEmpty());
        // An ID3v2.4 tag of 300 bytes (syncsafe size 2 * 128 + 44) ahead of the stream.
        const QByteArray id3 =
            QByteArray("ID3\x04\x00\x00\x00\x00\x02\x2c", 10) + QByteArray(300, '\0');
        EXPECT_EQ(count(id3 + stream), expected);

        // A cut-off download keeps the tag of the whole stream; the count must follow the file.
        EXPECT_LT(count(stream.left(stream.size() * 3 / 5)), expected * 2 / 3);
        EXPECT_LT(count(id3 + stream.left(stream.size() / 2)), expected * 2 / 3);

        // A damaged tag that counts half the frames: reads end at the length it gives.
        QByteArray halved = stream;
        const qsizetype tag = std::max(halved.indexOf("Xing"), halved.indexOf("Info"));
        ASSERT_GT(tag, 0);
        const quint32 tagged = qFromBigEndian<quint32>(halved.constData() + tag + 8);
        qToBigEndian<quint32>(tagged / 2, halved.data() + tag + 8);
        EXPECT_LT(count(halved), expected);
    }
}

// libsndfile's own scaling of float samples to 16 bits brings the file's peak to full scale: a
// quiet file would draw as loud as any.
TEST_F(AudioDecoderTest, floatSamplesReadAs16BitKeepTheirLevel) {
    // The generator writes 16-bit samples only.
    const QString path = dir.filePath("float.wav");
    SF_INFO info{0, 44100, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    ASSERT_TRUE(file) << sf_strerror(nullptr);
    const float levels[] = {0.5f, -0.25f, 0.125f};
    EXPECT_EQ(sf_writef_float(file, levels, 3), 3);
    sf_close(file);
    auto decoder = AudioDecoder::open(path, nullptr, AudioDecoder::SampleType::int16);
    int16_t read[3] = {};
    ASSERT_EQ(decoder->readInt16(read, 3), 3);
    EXPECT_NEAR(read[0], 16384, 1);
    EXPECT_NEAR(read[1], -8192, 1);
    EXPECT_NEAR(read[2], 4096, 1);
}

TEST_F(AudioDecoderTest, unreadableFilesGiveNoDecoderAndAReason) {
    testaudio::Spec spec;
    spec.seconds = 5;
    // The first half of a whole file.
    const auto half = [&](Container container) {
        const QByteArray whole = readFile(make(spec, container, "whole"));
        return whole.left(whole.size() / 2);
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
        writeBytes("half.ogg", half(Container::OggVorbis)),
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
