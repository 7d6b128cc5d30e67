#include "platform/audio/Mpg123Decoder.h"

#include "platform/audio/MpegFrameHeader.h"
#include "platform/audio/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <mpg123.h>
#include <mutex>
#include <optional>

namespace {

bool initLibrary() {
    static std::once_flag once;
    static int result = MPG123_ERR;
    std::call_once(once, [] { result = mpg123_init(); });
    return result == MPG123_OK;
}

int encodingFor(AudioDecoder::SampleType type) {
    return type == AudioDecoder::SampleType::int16 ? MPG123_ENC_SIGNED_16 : MPG123_ENC_FLOAT_32;
}

// Accepts every rate and channel layout, so the first frame decides the format instead of
// libmpg123 choosing a converted one.
void allowEveryNaturalFormat(mpg123_handle* handle, int encoding) {
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, encoding);
}

uint32_t bigEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

// Where the MPEG stream ends by the byte count of its Xing/Info tag; none without a tag that
// holds one. The tag sits in the first frame, after any ID3v2 tag.
std::optional<int64_t> taggedStreamEnd(ByteSource& source) {
    const QByteArray id3 = source.peek(0, 10);
    const int64_t start =
        id3v2TagBytes(reinterpret_cast<const unsigned char*>(id3.constData()), id3.size());
    const QByteArray head = source.peek(start, 4096);
    const auto* bytes = reinterpret_cast<const unsigned char*>(head.constData());
    for (qsizetype i = 0; i + 4 <= head.size(); ++i) {
        const std::optional<MpegFrameHeader> header = MpegFrameHeader::parse(bytes + i);
        if (!header || header->layer != 3)
            continue;
        const bool mono = header->channels == 1;
        const int sideInfo = header->version == 1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
        const qsizetype tag = i + 4 + sideInfo;
        if (tag + 16 > head.size() || (head.mid(tag, 4) != "Xing" && head.mid(tag, 4) != "Info"))
            return std::nullopt;
        const uint32_t flags = bigEndian32(bytes + tag + 4);
        if (!(flags & 2))
            return std::nullopt;
        return start + i + bigEndian32(bytes + tag + 8 + ((flags & 1) ? 4 : 0));
    }
    return std::nullopt;
}

// The tag's frame count is exact only when the tag is a LAME tag (the one with the encoder delay)
// and the file still holds the stream the tag describes: a cut-off download keeps its tag.
bool tagGivesExactLength(mpg123_handle* handle, ByteSource& source) {
    long encoderDelay = -1;
    double unused = 0;
    mpg123_getstate(handle, MPG123_ENC_DELAY, &encoderDelay, &unused);
    if (encoderDelay < 0)
        return false;
    const std::optional<int64_t> end = taggedStreamEnd(source);
    return end && *end <= source.size();
}

ssize_t readSource(void* source, void* buffer, size_t bytes) {
    return ssize_t(static_cast<ByteSource*>(source)->read(buffer, int64_t(bytes)));
}

off_t seekSource(void* source, off_t offset, int whence) {
    return off_t(static_cast<ByteSource*>(source)->seek(int64_t(offset), whence));
}

} // namespace

std::unique_ptr<Mpg123Decoder> Mpg123Decoder::open(std::unique_ptr<ByteSource> source,
                                                   QString* error, SampleType preferred) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return nullptr;
    };
    if (!initLibrary())
        return fail("libmpg123 failed to initialise");
    int code = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &code);
    if (!handle)
        return fail(QString("libmpg123: %1").arg(mpg123_plain_strerror(code)));
    std::unique_ptr<Mpg123Decoder> decoder(new Mpg123Decoder(handle, std::move(source), preferred));
    ByteSource& bytes = *decoder->_source;

    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    // After a seek the bit reservoir can reach back 511 bytes, several small VBR frames; decode
    // enough of them first that the target frame comes out whole.
    mpg123_param(handle, MPG123_PREFRAMES, 10, 0);
    const int encoding = encodingFor(preferred);
    allowEveryNaturalFormat(handle, encoding);
    if (mpg123_replace_reader_handle(handle, readSource, seekSource, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, &bytes) != MPG123_OK)
        return fail(QString("cannot open: %1").arg(mpg123_strerror(handle)));

    long rate = 0;
    int channels = 0;
    int found = 0;
    if (mpg123_getformat(handle, &rate, &channels, &found) != MPG123_OK)
        return fail("not an MP3 file");
    // A stream that changes rate or channels part-way is converted to its first format, so readers
    // see one format for the whole file.
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels, encoding);

    // Without an exact length libmpg123 guesses one from the file size and the first frame's bit
    // rate, far off for VBR; counting the frames costs a read of the file but no decoding.
    if (!tagGivesExactLength(handle, bytes) && mpg123_scan(handle) != MPG123_OK)
        return fail(QString("MP3 scan failed: %1").arg(mpg123_strerror(handle)));
    const off_t length = mpg123_length(handle);
    if (length <= 0)
        return fail("no audio frames");

    decoder->_sampleRate = int(rate);
    decoder->_channels = channels;
    decoder->_frameCount = length;
    return decoder;
}

Mpg123Decoder::Mpg123Decoder(mpg123_handle* handle, std::unique_ptr<ByteSource> source,
                             SampleType native)
    : _handle(handle), _source(std::move(source)), _native(native) {}

Mpg123Decoder::~Mpg123Decoder() {
    mpg123_close(_handle);
    mpg123_delete(_handle);
}

bool Mpg123Decoder::seek(int64_t frame) {
    if (frame < 0 || frame > _frameCount || mpg123_seek(_handle, off_t(frame), SEEK_SET) != frame)
        return false;
    _position = frame;
    return true;
}

int64_t Mpg123Decoder::readNative(void* out, int64_t frames) {
    const size_t sampleBytes = _native == SampleType::int16 ? sizeof(int16_t) : sizeof(float);
    const size_t frameBytes = sampleBytes * size_t(_channels);
    // A damaged tag can promise fewer frames than the stream holds; readers size their buffers by
    // the length, so the stream ends there.
    const int64_t left = std::max<int64_t>(std::min(frames, _frameCount - _position), 0);
    const size_t wanted = size_t(left) * frameBytes;
    auto* bytes = static_cast<unsigned char*>(out);
    size_t total = 0;
    while (total < wanted) {
        size_t done = 0;
        const int code = mpg123_read(_handle, bytes + total, wanted - total, &done);
        total += done;
        if (code == MPG123_DONE)
            break;
        if (code != MPG123_OK && code != MPG123_NEW_FORMAT) {
            if (total == 0)
                return -1;
            break;
        }
        if (done == 0 && code == MPG123_OK)
            break;
    }
    const int64_t read = int64_t(total / frameBytes);
    _position += read;
    return read;
}

template <typename Native, typename Out, typename Convert>
int64_t Mpg123Decoder::readConverted(std::vector<Native>& buffer, Out* out, int64_t frames,
                                     Convert convert) {
    const size_t samples = size_t(std::max<int64_t>(frames, 0)) * size_t(_channels);
    if (buffer.size() < samples)
        buffer.resize(samples);
    const int64_t read = readNative(buffer.data(), frames);
    if (read > 0)
        std::transform(buffer.begin(), buffer.begin() + read * _channels, out, convert);
    return read;
}

int64_t Mpg123Decoder::readFloat(float* out, int64_t frames) {
    if (_native == SampleType::float32)
        return readNative(out, frames);
    return readConverted(_ints, out, frames,
                         [](int16_t sample) { return float(sample) / 32768.0f; });
}

int64_t Mpg123Decoder::readInt16(int16_t* out, int64_t frames) {
    if (_native == SampleType::int16)
        return readNative(out, frames);
    return readConverted(_floats, out, frames, toInt16);
}
