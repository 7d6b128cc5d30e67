#include "platform/audio/AudioContent.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// MPEG-1 layer III frames at 128 kbit/s and 44.1 kHz: 417 bytes each, header first.
QByteArray mpegFrames(int count) {
    QByteArray frame("\xff\xfb\x90\x64", 4);
    frame.append(417 - 4, '\x55');
    return frame.repeated(count);
}

// A literal that may hold zero bytes.
template <size_t size> QByteArray bytes(const char (&literal)[size]) {
    return QByteArray(literal, size - 1);
}

} // namespace

// One case for each decision; whole files of each format are the decoder's test, every one of
// them misnamed.
TEST(AudioContentTest, firstBytesChooseTheDecoder) {
    QByteArray noise(qsizetype(64) * 1024, '\0');
    std::mt19937 random(7);
    std::generate(noise.begin(), noise.end(), [&random] { return char(random()); });
    QByteArray brokenChain = mpegFrames(3);
    brokenChain[qsizetype(417) * 2] = 'x';
    // AAC's ADTS header has the same sync bits and a layer of 0.
    QByteArray adts = bytes("\xff\xf1\x50\x80\x3f\xff\xfc");
    adts.append(400, '\x21');
    const QByteArray id3 = bytes("ID3\x04\0\0\0\0\x02\x2c") + QByteArray(300, 0);

    const struct {
        const char* name;
        QByteArray bytes;
        AudioContent content;
    } cases[] = {
        {"frames after a tag and padding", id3 + QByteArray(100, 0) + mpegFrames(5),
         AudioContent::mpegAudio},
        {"one frame, the whole file", mpegFrames(1), AudioContent::mpegAudio},
        {"a chain that breaks", brokenChain + noise, AudioContent::other},
        {"adts", adts.repeated(10), AudioContent::other},
        {"mp4", bytes("\0\0\0 ftypM4A ") + mpegFrames(5), AudioContent::other},
        {"wave", bytes("RIFF\x24\0\0\0WAVEfmt ") + noise, AudioContent::sndfile},
        {"avi", bytes("RIFF\x24\0\0\0AVI LIST") + noise, AudioContent::other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<ByteSource> source = ByteSource::fromMemory(c.bytes);
        ASSERT_EQ(source->seek(3, SEEK_SET), 3);
        EXPECT_EQ(audioContentOf(*source), c.content);
        // The decoder chosen reads from where the source was.
        EXPECT_EQ(source->seek(0, SEEK_CUR), 3);
    }
}
