#pragma once
// M4A/MP4 (AAC, ALAC) and whatever else FFmpeg reads that the other decoders do not: WMA,
// WavPack, APE, Matroska audio, CAF... The length is the container's with its priming and padding
// left out (the MP4 edit list, or the iTunes gapless tag); a format that states no length is
// counted packet by packet, without decoding. A seek starts decoding a few codec frames before
// the target and drops what comes before it, so it lands on the sample wherever the container's
// timestamps count samples. The bytes are read through our own I/O with no name, so FFmpeg's
// probe judges the content alone, never the extension.

#include "platform/audio/AudioDecoder.h"
#include "platform/audio/ByteSource.h"

#include <memory>
#include <optional>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

class FfmpegDecoder final : public AudioDecoder {
public:
    // Null when FFmpeg finds no audio it can decode, or the bytes are a video; `error` then
    // receives a one-line reason.
    static std::unique_ptr<FfmpegDecoder> open(std::unique_ptr<ByteSource> source, QString* error);
    ~FfmpegDecoder() override;

    int sampleRate() const override { return _sampleRate; }
    int channels() const override { return _channels; }
    int64_t frameCount() const override { return _frameCount; }
    // True when the file is a bare MPEG audio stream, which libmpg123 reads exactly.
    bool isBareMpegAudio() const { return _bareMpegAudio; }

    bool seek(int64_t frame) override;
    int64_t readFloat(float* out, int64_t frames) override;
    int64_t readInt16(int16_t* out, int64_t frames) override;

private:
    class Input;
    class Converter;

    explicit FfmpegDecoder(std::unique_ptr<ByteSource> source);
    // Opens everything; a one-line reason when that fails.
    std::optional<QString> start();
    std::optional<QString> openCodec();
    std::optional<int64_t> statedFrameCount() const;
    std::optional<int64_t> countedFrameCount();
    std::optional<int64_t> decodedEnd(int64_t stated);
    // Positions the demuxer at or before `frame` (negative: at the start) and empties the
    // decoder.
    bool seekDemuxer(int64_t frame);
    // Decodes the next frame into `_frame`; false at the end of the stream or when it fails.
    bool nextFrame();
    int64_t framesAt(int64_t timestamp) const;
    int64_t read(void* out, int64_t frames, Converter& converter);

    std::unique_ptr<Input> _input;
    AVFormatContext* _format = nullptr;
    AVCodecContext* _codec = nullptr;
    AVPacket* _packet = nullptr;
    AVFrame* _frame = nullptr;
    std::unique_ptr<Converter> _toFloat;
    std::unique_ptr<Converter> _toInt16;
    int _stream = -1;
    int _sampleRate = 0;
    int _channels = 0;
    int64_t _frameCount = 0;
    bool _bareMpegAudio = false;
    // The timestamp of the first sample, found by decoding the first frame: with the priming
    // dropped, it is where the container's timeline puts sample 0.
    int64_t _originTimestamp = 0;
    // Frames to decode and drop ahead of a seek target, so the decoder's overlap and pre-roll
    // are filled as in a reading from the start.
    int64_t _warmUp = 0;
    int64_t _seekPreroll = 0; // what the codec itself asks for (Opus: 80 ms)

    int64_t _position = 0;   // the frame the next read returns
    int64_t _frameStart = 0; // where `_frame`'s first sample lies
    int _frameUsed = 0;      // samples of `_frame` read or dropped
    bool _holdingFrame = false;
    // Where the next decoded frame starts; none right after a seek, until a timestamp says.
    std::optional<int64_t> _nextStart;
    bool _draining = false;
    bool _rewindPending = false; // the length was checked at the end; a read starts over
    bool _failed = false;
};
