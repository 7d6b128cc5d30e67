// libmpg123 on any bytes, after the content sniffer that chooses it.
#include "DecoderExercise.h"
#include "platform/audio/AudioContent.h"
#include "platform/audio/Mpg123Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<ByteSource> source = ByteSource::fromMemory(fuzzInput(data, size));
    audioContentOf(*source);
    const auto type =
        size % 2 ? AudioDecoder::SampleType::int16 : AudioDecoder::SampleType::float32;
    QString error;
    if (auto decoder = Mpg123Decoder::open(std::move(source), &error, type))
        exerciseDecoder(*decoder);
    return 0;
}
