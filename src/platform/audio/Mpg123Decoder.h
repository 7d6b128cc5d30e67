#pragma once
// MP3 through libmpg123: gapless, with the exact length from the Xing/LAME tag or, when a file has
// none, from a scan of every frame header. Decodes at the file's own rate and channel count with
// libmpg123's synthesis for the preferred sample type (its 16-bit synthesis is the faster one);
// reads of the other type convert.

#include "platform/audio/AudioDecoder.h"
#include "platform/audio/ByteSource.h"

#include <memory>
#include <vector>

struct mpg123_handle_struct;

class Mpg123Decoder final : public AudioDecoder {
public:
    // Null when the bytes hold no MPEG audio; `error` then receives a one-line reason.
    static std::unique_ptr<Mpg123Decoder> open(std::unique_ptr<ByteSource> source, QString* error,
                                               SampleType preferred);
    ~Mpg123Decoder() override;

    int sampleRate() const override { return _sampleRate; }
    int channels() const override { return _channels; }
    int64_t frameCount() const override { return _frameCount; }

    bool seek(int64_t frame) override;
    int64_t readFloat(float* out, int64_t frames) override;
    int64_t readInt16(int16_t* out, int64_t frames) override;

private:
    Mpg123Decoder(mpg123_handle_struct* handle, std::unique_ptr<ByteSource> source,
                  SampleType native);
    // Reads frames in the native sample type.
    int64_t readNative(void* out, int64_t frames);
    // Reads native frames into `buffer` and converts them into `out`.
    template <typename Native, typename Out, typename Convert>
    int64_t readConverted(std::vector<Native>& buffer, Out* out, int64_t frames, Convert convert);

    mpg123_handle_struct* _handle;
    std::unique_ptr<ByteSource> _source; // read by libmpg123 through callbacks
    int _sampleRate = 0;
    int _channels = 0;
    int64_t _frameCount = 0;
    int64_t _position = 0; // the frame the next read starts at
    SampleType _native;
    // Native frames for reads of the other type, reused between reads.
    std::vector<float> _floats;
    std::vector<int16_t> _ints;
};
