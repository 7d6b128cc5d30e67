#pragma once
// WAV, FLAC, Ogg Vorbis, Opus and AIFF through libsndfile. MPEG streams are refused: libsndfile
// trusts an estimated length for MP3s without a Xing/LAME tag, so those go to Mpg123Decoder.

#include "platform/audio/AudioDecoder.h"
#include "platform/audio/ByteSource.h"

#include <memory>
#include <vector>

struct sf_private_tag;

class SndfileDecoder final : public AudioDecoder {
public:
    // Null when libsndfile cannot read the bytes or they are an MPEG stream; `error` then
    // receives a one-line reason.
    static std::unique_ptr<SndfileDecoder> open(std::unique_ptr<ByteSource> source, QString* error);
    ~SndfileDecoder() override;

    int sampleRate() const override { return _sampleRate; }
    int channels() const override { return _channels; }
    int64_t frameCount() const override { return _frameCount; }

    bool seek(int64_t frame) override;
    int64_t readFloat(float* out, int64_t frames) override;
    int64_t readInt16(int16_t* out, int64_t frames) override;

private:
    SndfileDecoder(std::unique_ptr<ByteSource> source, sf_private_tag* file, int sampleRate,
                   int channels, int64_t frameCount);

    std::unique_ptr<ByteSource> _source; // read by libsndfile through callbacks
    sf_private_tag* _file;
    int _sampleRate;
    int _channels;
    int64_t _frameCount;
    std::vector<float> _floats; // the 16-bit reads' floats
};
