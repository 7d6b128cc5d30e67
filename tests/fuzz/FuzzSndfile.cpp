// libsndfile on any bytes.
#include "DecoderExercise.h"
#include "platform/audio/SndfileDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    if (auto decoder = SndfileDecoder::open(ByteSource::fromMemory(fuzzInput(data, size)), &error))
        exerciseDecoder(*decoder);
    return 0;
}
