#pragma once
// Reads an audio file as PCM frames. One interface over three libraries, chosen by the file's
// content: libmpg123 for MP3 (exact, gapless length even without a Xing/LAME tag), libsndfile for
// WAV, FLAC, Ogg Vorbis, Opus and AIFF, and FFmpeg for M4A (AAC, ALAC) and the rest.
// The decoder knows nothing of who reads it: the duration probe, the engine's feeder thread and
// the waveform extractor all read through it. Not thread-safe: one reader per instance.

#include "platform/audio/ByteSource.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class AudioDecoder {
public:
    virtual ~AudioDecoder() = default;

    // The sample type a reader mostly asks for. Both reads always work; a decoder that can
    // produce the preferred one directly does so and converts for the other.
    enum class SampleType { float32, int16 };

    // Opens the file with the decoder for its content, whatever its name. Null when it cannot be
    // decoded as audio; `error` (when given) then receives a one-line reason.
    static std::unique_ptr<AudioDecoder> open(const QString& path, QString* error = nullptr,
                                              SampleType preferred = SampleType::float32);
    // The same for bytes from any source (a file's bytes in memory decode as the file does).
    static std::unique_ptr<AudioDecoder> open(std::unique_ptr<ByteSource> source,
                                              QString* error = nullptr,
                                              SampleType preferred = SampleType::float32);

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // Exact number of frames of the decoded audio, without encoder delay or padding.
    virtual int64_t frameCount() const = 0;
    double duration() const { return double(frameCount()) / sampleRate(); }

    // Positions the next read at the given frame (sample-accurate); false when that fails.
    virtual bool seek(int64_t frame) = 0;
    // Read up to `frames` frames of interleaved samples. Return the number of frames read:
    // 0 at the end of the file, -1 when decoding fails.
    virtual int64_t readFloat(float* out, int64_t frames) = 0;
    virtual int64_t readInt16(int16_t* out, int64_t frames) = 0;
};

// The length in seconds of an audio file; none, with one diagnostic line, when it cannot be
// decoded (`reason`, when given, then says why).
std::optional<double> audioFileDuration(const QString& path, QString* reason = nullptr);
