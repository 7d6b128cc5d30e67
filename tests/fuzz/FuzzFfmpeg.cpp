// FFmpeg on any bytes.
#include "DecoderExercise.h"
#include "platform/audio/FfmpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    if (auto decoder = FfmpegDecoder::open(ByteSource::fromMemory(fuzzInput(data, size)), &error))
        exerciseDecoder(*decoder);
    return 0;
}
