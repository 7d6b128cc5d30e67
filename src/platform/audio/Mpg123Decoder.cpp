#include "platform/audio/Mpg123Decoder.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <mpg123.h>
#include <mutex>

namespace {

bool initLibrary() {
    static std::once_flag once;
    static int result = MPG123_ERR;
    std::call_once(once, [] { result = mpg123_init(); });
    return result == MPG123_OK;
}

// Accepts every rate and channel layout in float, so the first frame decides the format instead of
// libmpg123 choosing a converted one.
void allowEveryNaturalFormat(mpg123_handle* handle) {
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
}

int16_t toInt16(float sample) {
    return int16_t(std::clamp(std::lrint(sample * 32768.0f), -32768L, 32767L));
}

} // namespace

std::unique_ptr<Mpg123Decoder> Mpg123Decoder::open(const QString& path, QString* error) {
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
    std::unique_ptr<Mpg123Decoder> decoder(new Mpg123Decoder(handle));

    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    // After a seek the bit reservoir can reach back 511 bytes, several small VBR frames; decode
    // enough of them first that the target frame comes out whole.
    mpg123_param(handle, MPG123_PREFRAMES, 10, 0);
    allowEveryNaturalFormat(handle);
    if (mpg123_open(handle, QFile::encodeName(path).constData()) != MPG123_OK)
        return fail(QString("cannot open: %1").arg(mpg123_strerror(handle)));

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK)
        return fail("not an MP3 file");
    // A stream that changes rate or channels part-way is converted to its first format, so readers
    // see one format for the whole file.
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels, MPG123_ENC_FLOAT_32);

    // The encoder delay is known only from a LAME tag, whose frame count is exact; without one the
    // length is a guess from the file size, so count the frames.
    long encoderDelay = -1;
    double unused = 0;
    mpg123_getstate(handle, MPG123_ENC_DELAY, &encoderDelay, &unused);
    if (encoderDelay < 0 && mpg123_scan(handle) != MPG123_OK)
        return fail(QString("MP3 scan failed: %1").arg(mpg123_strerror(handle)));
    const off_t length = mpg123_length(handle);
    if (length <= 0)
        return fail("no audio frames");

    decoder->_sampleRate = int(rate);
    decoder->_channels = channels;
    decoder->_frameCount = length;
    return decoder;
}

Mpg123Decoder::Mpg123Decoder(mpg123_handle* handle) : _handle(handle) {}

Mpg123Decoder::~Mpg123Decoder() {
    mpg123_close(_handle);
    mpg123_delete(_handle);
}

bool Mpg123Decoder::seek(int64_t frame) {
    if (frame < 0 || frame > _frameCount)
        return false;
    return mpg123_seek(_handle, off_t(frame), SEEK_SET) == off_t(frame);
}

int64_t Mpg123Decoder::readFloat(float* out, int64_t frames) {
    const size_t frameBytes = sizeof(float) * size_t(_channels);
    const size_t wanted = size_t(std::max<int64_t>(frames, 0)) * frameBytes;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    size_t total = 0;
    while (total < wanted) {
        size_t done = 0;
        const int code = mpg123_read(_handle, bytes + total, wanted - total, &done);
        total += done;
        if (code == MPG123_DONE)
            break;
        if (code != MPG123_OK && code != MPG123_NEW_FORMAT)
            return total > 0 ? int64_t(total / frameBytes) : -1;
        if (done == 0 && code == MPG123_OK)
            break;
    }
    return int64_t(total / frameBytes);
}

int64_t Mpg123Decoder::readInt16(int16_t* out, int64_t frames) {
    const size_t samples = size_t(std::max<int64_t>(frames, 0)) * size_t(_channels);
    if (_conversion.size() < samples)
        _conversion.resize(samples);
    const int64_t read = readFloat(_conversion.data(), frames);
    if (read > 0)
        std::transform(_conversion.begin(), _conversion.begin() + read * _channels, out, toInt16);
    return read;
}
