#include "platform/audio/AudioBlockRing.h"

AudioBlockRing::AudioBlockRing(int capacityBlocks, int channels)
    : _channels(channels), storage(size_t(capacityBlocks) * blockFrames * channels),
      blocks(size_t(capacityBlocks)) {
    for (size_t i = 0; i < blocks.size(); ++i)
        blocks[i].samples = storage.data() + i * blockFrames * channels;
}

int AudioBlockRing::readyBlocks() const {
    return int(writeCount.load(std::memory_order_acquire) -
               readCount.load(std::memory_order_acquire));
}

AudioBlock* AudioBlockRing::beginWrite() {
    const uint64_t written = writeCount.load(std::memory_order_relaxed);
    if (written - readCount.load(std::memory_order_acquire) >= blocks.size())
        return nullptr;
    return &blocks[written % blocks.size()];
}

void AudioBlockRing::commitWrite() {
    writeCount.fetch_add(1, std::memory_order_release);
}

const AudioBlock* AudioBlockRing::front() const {
    const uint64_t read = readCount.load(std::memory_order_relaxed);
    if (read == writeCount.load(std::memory_order_acquire))
        return nullptr;
    return &blocks[read % blocks.size()];
}

void AudioBlockRing::consume(int frames) {
    offset += frames;
    if (offset >= front()->frames) {
        offset = 0;
        readCount.fetch_add(1, std::memory_order_release);
    }
}

void AudioBlockRing::clear() {
    readCount.store(0);
    writeCount.store(0);
    offset = 0;
}
