#include "platform/audio/FfmpegDecoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace {

constexpr int ioBufferBytes = 64 * 1024;
// Decode errors in a row after which a stream counts as broken rather than damaged in places.
constexpr int tolerableErrors = 100;

QString errorText(int code) {
    if (code == AVERROR_INVALIDDATA)
        return QStringLiteral("not a recognised audio format");
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// FFmpeg logs to standard error by default; a program that shows its own one-line reasons wants
// none of those lines.
void silenceLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The length iTunes states for AAC it encoded: " 00000000 PRIMING PADDING COUNT ..." in hex.
std::optional<int64_t> itunesFrameCount(const AVDictionary* metadata) {
    const AVDictionaryEntry* entry = av_dict_get(metadata, "iTunSMPB", nullptr, 0);
    unsigned priming = 0;
    unsigned padding = 0;
    unsigned long long count = 0;
    if (!entry || std::sscanf(entry->value, "%*x %x %x %llx", &priming, &padding, &count) != 3 ||
        count == 0)
        return std::nullopt;
    return int64_t(count);
}

// The layout itself, or the usual one for its channel count where the file names no order:
// the converter needs to know which channel is which.
AVChannelLayout knownOrder(const AVChannelLayout& layout) {
    AVChannelLayout known{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_copy(&known, &layout) < 0)
        av_channel_layout_default(&known, layout.nb_channels);
    return known;
}

bool statesAudioFormat(const AVFormatContext& format) {
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVCodecParameters& codec = *format.streams[i]->codecpar;
        if (codec.codec_type == AVMEDIA_TYPE_AUDIO && codec.codec_id != AV_CODEC_ID_NONE &&
            codec.sample_rate > 0 && codec.ch_layout.nb_channels > 0)
            return true;
    }
    return false;
}

int64_t frameTimestamp(const AVFrame& frame) {
    return frame.pts != AV_NOPTS_VALUE ? frame.pts : frame.best_effort_timestamp;
}

} // namespace

// The bytes, read by FFmpeg through callbacks: a named file would let FFmpeg's probe weigh the
// extension and let a name such as "a:b.m4a" pass for a protocol.
class FfmpegDecoder::Input {
public:
    explicit Input(std::unique_ptr<ByteSource> source) : _source(std::move(source)) {}
    ~Input() {
        if (context)
            av_freep(&context->buffer);
        avio_context_free(&context);
    }

    std::optional<QString> open() {
        auto* buffer = static_cast<unsigned char*>(av_malloc(ioBufferBytes));
        context = buffer ? avio_alloc_context(buffer, ioBufferBytes, 0, _source.get(), read,
                                              nullptr, seek)
                         : nullptr;
        if (!context) {
            av_free(buffer);
            return QStringLiteral("out of memory");
        }
        return std::nullopt;
    }

    AVIOContext* context = nullptr;

private:
    static int read(void* opaque, uint8_t* buffer, int size) {
        const int64_t count = static_cast<ByteSource*>(opaque)->read(buffer, size);
        if (count < 0)
            return AVERROR(EIO);
        return count == 0 ? AVERROR_EOF : int(count);
    }

    static int64_t seek(void* opaque, int64_t offset, int whence) {
        auto* source = static_cast<ByteSource*>(opaque);
        const int64_t at =
            whence & AVSEEK_SIZE ? source->size() : source->seek(offset, whence & ~AVSEEK_FORCE);
        return at < 0 ? AVERROR(EIO) : at;
    }

    std::unique_ptr<ByteSource> _source;
};

// Decoded frames to interleaved samples of one type, at the file's own rate. The decoder's
// layout or format may change part-way (a stream that changes channels); the first one stays.
class FfmpegDecoder::Converter {
public:
    Converter(AVSampleFormat output, const AVChannelLayout& layout)
        : _output(output), _outputLayout(knownOrder(layout)) {}
    ~Converter() {
        swr_free(&_context);
        av_channel_layout_uninit(&_frameLayout);
        av_channel_layout_uninit(&_outputLayout);
    }

    int frameBytes() const { return av_get_bytes_per_sample(_output) * _outputLayout.nb_channels; }

    // Converts `count` samples of `frame` from `offset` on; false when that fails.
    bool convert(const AVFrame& frame, int offset, int count, void* out) {
        if (!_context || frame.format != _input ||
            av_channel_layout_compare(&frame.ch_layout, &_frameLayout) != 0 ||
            frame.sample_rate != _rate) {
            if (!configure(frame))
                return false;
        }
        const auto format = AVSampleFormat(frame.format);
        const int sampleBytes = av_get_bytes_per_sample(format);
        const int planes = av_sample_fmt_is_planar(format) ? frame.ch_layout.nb_channels : 1;
        const int step = sampleBytes * (planes == 1 ? frame.ch_layout.nb_channels : 1);
        _planes.resize(size_t(planes));
        for (int plane = 0; plane < planes; ++plane)
            _planes[size_t(plane)] = frame.extended_data[plane] + ptrdiff_t(offset) * step;
        auto* target = static_cast<uint8_t*>(out);
        return swr_convert(_context, &target, count, _planes.data(), count) == count;
    }

private:
    bool configure(const AVFrame& frame) {
        swr_free(&_context);
        av_channel_layout_uninit(&_frameLayout);
        if (av_channel_layout_copy(&_frameLayout, &frame.ch_layout) < 0)
            return false;
        _input = frame.format;
        _rate = frame.sample_rate;
        AVChannelLayout input = knownOrder(frame.ch_layout);
        const bool configured =
            swr_alloc_set_opts2(&_context, &_outputLayout, _output, _rate, &input,
                                AVSampleFormat(_input), _rate, 0, nullptr) == 0 &&
            swr_init(_context) == 0;
        av_channel_layout_uninit(&input);
        return configured;
    }

    AVSampleFormat _output;
    AVChannelLayout _outputLayout{};
    SwrContext* _context = nullptr;
    int _input = AV_SAMPLE_FMT_NONE;
    int _rate = 0;
    AVChannelLayout _frameLayout{}; // as the decoder gave it
    std::vector<const uint8_t*> _planes;
};

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::open(std::unique_ptr<ByteSource> source,
                                                   QString* error) {
    silenceLibrary();
    std::unique_ptr<FfmpegDecoder> decoder(new FfmpegDecoder(std::move(source)));
    if (const std::optional<QString> reason = decoder->start()) {
        if (error)
            *error = *reason;
        return nullptr;
    }
    return decoder;
}

FfmpegDecoder::FfmpegDecoder(std::unique_ptr<ByteSource> source)
    : _input(std::make_unique<Input>(std::move(source))) {}

FfmpegDecoder::~FfmpegDecoder() {
    _toFloat.reset();
    _toInt16.reset();
    av_frame_free(&_frame);
    av_packet_free(&_packet);
    avcodec_free_context(&_codec);
    avformat_close_input(&_format);
}

std::optional<QString> FfmpegDecoder::start() {
    if (std::optional<QString> reason = _input->open())
        return reason;
    _format = avformat_alloc_context();
    _packet = av_packet_alloc();
    _frame = av_frame_alloc();
    if (!_format || !_packet || !_frame)
        return QStringLiteral("out of memory");
    _format->pb = _input->context;
    // Playlists and references in a container may name other files; only the file itself is read.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&_format, "", nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return errorText(opened);
    _bareMpegAudio = std::strcmp(_format->iformat->name, "mp3") == 0;
    // An MP4's or a WavPack's header says all there is to know; finding the format by decoding
    // (as bare AAC needs) would cost more than the rest of opening.
    if (!statesAudioFormat(*_format)) {
        if (const int found = avformat_find_stream_info(_format, nullptr); found < 0)
            return errorText(found);
    }

    _stream = av_find_best_stream(_format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (_stream < 0)
        return QStringLiteral("no audio in the file");
    for (unsigned i = 0; i < _format->nb_streams; ++i) {
        AVStream* stream = _format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return QStringLiteral("a video, not an audio file");
        if (int(i) != _stream)
            stream->discard = AVDISCARD_ALL;
    }
    const AVStream* stream = _format->streams[_stream];

    if (std::optional<QString> reason = openCodec())
        return reason;
    _seekPreroll = stream->codecpar->seek_preroll;
    _warmUp = 3 * int64_t(std::max(stream->codecpar->frame_size, 1024)) + _seekPreroll;

    // The first frame fixes the format (HE-AAC states half its rate in the container) and the
    // timeline: sample 0 is where it starts, after any priming the decoder dropped.
    _nextStart = 0;
    if (!nextFrame())
        return _failed ? QStringLiteral("decoding failed") : QStringLiteral("no audio frames");
    _sampleRate = _frame->sample_rate;
    _channels = _frame->ch_layout.nb_channels;
    if (_sampleRate <= 0 || _channels <= 0)
        return QStringLiteral("no sample rate or channel count");
    _toFloat = std::make_unique<Converter>(AV_SAMPLE_FMT_FLT, _frame->ch_layout);
    _toInt16 = std::make_unique<Converter>(AV_SAMPLE_FMT_S16, _frame->ch_layout);
    const int64_t first = frameTimestamp(*_frame);
    _originTimestamp = first != AV_NOPTS_VALUE ? first : 0;

    std::optional<int64_t> count = statedFrameCount();
    if (!count)
        count = countedFrameCount();
    if (!count || *count <= 0)
        return QStringLiteral("no audio frames");
    const std::optional<int64_t> end = decodedEnd(*count);
    if (!end)
        return QStringLiteral("truncated file");
    _frameCount = std::min(*count, *end);

    return std::nullopt;
}

std::optional<QString> FfmpegDecoder::openCodec() {
    avcodec_free_context(&_codec);
    const AVStream* stream = _format->streams[_stream];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return QStringLiteral("no decoder for its audio");
    _codec = avcodec_alloc_context3(codec);
    if (!_codec)
        return QStringLiteral("out of memory");
    if (avcodec_parameters_to_context(_codec, stream->codecpar) < 0)
        return QStringLiteral("unusable codec parameters");
    _codec->pkt_timebase = stream->time_base;
    if (const int code = avcodec_open2(_codec, codec, nullptr); code < 0)
        return QString("cannot open the %1 decoder: %2").arg(codec->name, errorText(code));
    return std::nullopt;
}

std::optional<int64_t> FfmpegDecoder::statedFrameCount() const {
    if (std::optional<int64_t> count = itunesFrameCount(_format->metadata))
        return count;
    if (_format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return std::nullopt;
    const AVStream* stream = _format->streams[_stream];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return av_rescale_q(stream->duration, stream->time_base, AVRational{1, _sampleRate});
    if (_format->duration != AV_NOPTS_VALUE && _format->duration > 0)
        return av_rescale(_format->duration, _sampleRate, AV_TIME_BASE);
    return std::nullopt;
}

// A format without a stated length (raw AAC): the packets' durations add up to it, which costs a
// read of the file but no decoding.
std::optional<int64_t> FfmpegDecoder::countedFrameCount() {
    const AVStream* stream = _format->streams[_stream];
    if (!seekDemuxer(-1))
        return std::nullopt;
    int64_t total = 0;
    while (av_read_frame(_format, _packet) >= 0) {
        if (_packet->stream_index == _stream)
            total += _packet->duration;
        av_packet_unref(_packet);
    }
    if (total <= 0 || !seekDemuxer(-1))
        return std::nullopt;
    return av_rescale_q(total, stream->time_base, AVRational{1, _sampleRate});
}

// Where the audio really ends, by decoding the last few packets: a header may promise more than
// the file holds (a cut-off download, a CAF that counts its last packet whole, WMA's rounded
// length). None when nothing decodes there.
std::optional<int64_t> FfmpegDecoder::decodedEnd(int64_t stated) {
    std::optional<int64_t> end;
    if (seekDemuxer(stated - 1))
        while (nextFrame())
            end = _frameStart + _frame->nb_samples;
    // Back to the start only when something is read: a duration asked for is known now.
    _rewindPending = true;
    return end;
}

int64_t FfmpegDecoder::framesAt(int64_t timestamp) const {
    return av_rescale_q(timestamp - _originTimestamp, _format->streams[_stream]->time_base,
                        AVRational{1, _sampleRate});
}

bool FfmpegDecoder::seekDemuxer(int64_t frame) {
    const AVStream* stream = _format->streams[_stream];
    // Before the start means the very first packet, so that the priming is decoded and dropped
    // again as in a reading from the start. Demuxers that cannot seek before their first
    // timestamp (WavPack, bare AAC) go to that timestamp instead.
    const int64_t first = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    const int64_t timestamp =
        frame < 0
            ? INT64_MIN / 2
            : _originTimestamp + av_rescale_q(frame, AVRational{1, _sampleRate}, stream->time_base);
    const int64_t fallback = std::max(timestamp, first);
    if (av_seek_frame(_format, _stream, timestamp, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(_format, _stream, INT64_MIN, fallback, fallback, 0) < 0)
        return false;
    // From the start, a new decoder: a flushed one keeps a little state (AAC's last window
    // shape) that colours its first frame.
    if (frame < 0) {
        if (openCodec())
            return false;
        _nextStart = 0;
    } else {
        avcodec_flush_buffers(_codec);
        _nextStart.reset();
    }
    _holdingFrame = false;
    _rewindPending = false;
    _draining = false;
    _failed = false;
    return true;
}

bool FfmpegDecoder::seek(int64_t frame) {
    if (frame < 0 || frame > _frameCount)
        return false;
    _position = frame;
    for (int64_t back = _warmUp;; back *= 4) {
        const int64_t from = frame - back;
        if (!seekDemuxer(from))
            return false;
        if (frame == _frameCount)
            return true;
        if (!nextFrame())
            return false;
        // The first frame after a seek comes without the decoder's history: it and one more,
        // and the codec's pre-roll, must lie before the target. Where the demuxer landed too
        // late, go back further; from the start every frame is right.
        if (from < 0 || _frameStart + 2 * int64_t(_frame->nb_samples) + _seekPreroll <= frame)
            return true;
    }
}

bool FfmpegDecoder::nextFrame() {
    int errors = 0;
    for (;;) {
        const int received = avcodec_receive_frame(_codec, _frame);
        if (received == 0) {
            if (!_nextStart) {
                const int64_t timestamp = frameTimestamp(*_frame);
                _nextStart = timestamp != AV_NOPTS_VALUE ? framesAt(timestamp) : 0;
            }
            _frameStart = *_nextStart;
            _nextStart = _frameStart + _frame->nb_samples;
            _frameUsed = int(std::clamp<int64_t>(_position - _frameStart, 0, _frame->nb_samples));
            _holdingFrame = true;
            return true;
        }
        if (received == AVERROR_EOF)
            return false;
        if (received != AVERROR(EAGAIN)) {
            if (++errors >= tolerableErrors) {
                _failed = true;
                return false;
            }
            continue;
        }
        if (_draining)
            return false;
        const int read = av_read_frame(_format, _packet);
        if (read < 0) {
            _failed = read != AVERROR_EOF && !avio_feof(_format->pb);
            _draining = true;
            avcodec_send_packet(_codec, nullptr);
            continue;
        }
        // A damaged packet is dropped, as players do; the next one may decode.
        if (_packet->stream_index == _stream)
            avcodec_send_packet(_codec, _packet);
        av_packet_unref(_packet);
    }
}

int64_t FfmpegDecoder::read(void* out, int64_t frames, Converter& converter) {
    if (_rewindPending && !seekDemuxer(-1))
        return -1;
    const int64_t wanted = std::clamp<int64_t>(frames, 0, _frameCount - _position);
    auto* bytes = static_cast<uint8_t*>(out);
    int64_t done = 0;
    while (done < wanted) {
        if (!_holdingFrame || _frameUsed >= _frame->nb_samples) {
            if (!nextFrame())
                break;
            continue;
        }
        const int count = int(std::min<int64_t>(_frame->nb_samples - _frameUsed, wanted - done));
        if (!converter.convert(*_frame, _frameUsed, count, bytes + done * converter.frameBytes())) {
            _failed = true;
            break;
        }
        _frameUsed += count;
        _position += count;
        done += count;
    }
    return done == 0 && _failed ? -1 : done;
}

int64_t FfmpegDecoder::readFloat(float* out, int64_t frames) {
    return read(out, frames, *_toFloat);
}

int64_t FfmpegDecoder::readInt16(int16_t* out, int64_t frames) {
    return read(out, frames, *_toInt16);
}
