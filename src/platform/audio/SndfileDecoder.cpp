#include "platform/audio/SndfileDecoder.h"

#include "platform/audio/SampleConversion.h"

#include <algorithm>
#include <sndfile.h>
#include <vector>

namespace {

ByteSource& sourceOf(void* user) {
    return *static_cast<ByteSource*>(user);
}

// libsndfile's virtual I/O over a ByteSource; it never writes to a file opened for reading.
SF_VIRTUAL_IO virtualIo() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* user) { return sf_count_t(sourceOf(user).size()); };
    io.seek = [](sf_count_t offset, int whence, void* user) {
        return sf_count_t(sourceOf(user).seek(offset, whence));
    };
    io.read = [](void* buffer, sf_count_t bytes, void* user) {
        return sf_count_t(std::max<int64_t>(sourceOf(user).read(buffer, bytes), 0));
    };
    io.write = [](const void*, sf_count_t, void*) { return sf_count_t(0); };
    io.tell = [](void* user) { return sf_count_t(sourceOf(user).seek(0, SEEK_CUR)); };
    return io;
}

} // namespace

std::unique_ptr<SndfileDecoder> SndfileDecoder::open(std::unique_ptr<ByteSource> source,
                                                     QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return nullptr;
    };
    SF_INFO info{};
    SF_VIRTUAL_IO io = virtualIo();
    std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(
        sf_open_virtual(&io, SFM_READ, &info, source.get()), sf_close);
    if (!file)
        return fail(QString::fromUtf8(sf_strerror(nullptr)));
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG)
        return fail("MPEG audio is not read through libsndfile");
    if (info.frames <= 0 || info.samplerate <= 0 || info.channels <= 0)
        return fail("no audio frames");
    // A cut-off FLAC or Ogg file keeps the length its header promised; reading the last frame is
    // the cheap way to learn that it is not all there.
    std::vector<float> last(size_t(info.channels));
    if (sf_seek(file.get(), info.frames - 1, SEEK_SET) < 0 ||
        sf_readf_float(file.get(), last.data(), 1) != 1 || sf_seek(file.get(), 0, SEEK_SET) != 0)
        return fail("truncated file");
    return std::unique_ptr<SndfileDecoder>(new SndfileDecoder(
        std::move(source), file.release(), info.samplerate, info.channels, info.frames));
}

SndfileDecoder::SndfileDecoder(std::unique_ptr<ByteSource> source, SNDFILE* file, int sampleRate,
                               int channels, int64_t frameCount)
    : _source(std::move(source)), _file(file), _sampleRate(sampleRate), _channels(channels),
      _frameCount(frameCount) {}

SndfileDecoder::~SndfileDecoder() {
    sf_close(_file);
}

bool SndfileDecoder::seek(int64_t frame) {
    if (frame < 0 || frame > _frameCount)
        return false;
    return sf_seek(_file, frame, SEEK_SET) == frame;
}

int64_t SndfileDecoder::readFloat(float* out, int64_t frames) {
    const sf_count_t read = sf_readf_float(_file, out, frames);
    return read == 0 && sf_error(_file) != SF_ERR_NO_ERROR ? -1 : read;
}

// Through floats: libsndfile reads float data (float WAV, Vorbis, Opus) as 16-bit either
// unscaled, zeros and ones, or scaled so that the file's peak is full scale, which would draw a
// quiet file as loud as any. Sixteen-bit sources come back exactly.
int64_t SndfileDecoder::readInt16(int16_t* out, int64_t frames) {
    _floats.resize(size_t(std::max<int64_t>(frames, 0)) * size_t(_channels));
    const int64_t read = readFloat(_floats.data(), frames);
    if (read > 0)
        std::transform(_floats.begin(), _floats.begin() + read * _channels, out, toInt16);
    return read;
}
