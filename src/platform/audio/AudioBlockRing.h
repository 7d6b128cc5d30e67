#pragma once
// Lock-free single-producer, single-consumer ring of audio blocks between the feeder (writer)
// and the audio callback (reader). Each block says where its first frame lies in the source
// file, so the callback always knows which source sample it is playing. All storage is
// allocated in the constructor; the reader's calls never allocate, lock or wait.

#include <atomic>
#include <cstdint>
#include <vector>

struct AudioBlock {
    float* samples = nullptr; // interleaved, room for AudioBlockRing::blockFrames frames
    int frames = 0;
    double sourceFrame = 0;    // source position of the first frame, in source frames
    double sourcePerFrame = 1; // source frames advanced per block frame
};

class AudioBlockRing {
public:
    static constexpr int blockFrames = 256;

    AudioBlockRing(int capacityBlocks, int channels);
    AudioBlockRing(const AudioBlockRing&) = delete;
    AudioBlockRing& operator=(const AudioBlockRing&) = delete;

    int channels() const { return _channels; }
    int capacity() const { return int(blocks.size()); }
    // Blocks written and not yet fully read (either side may ask).
    int readyBlocks() const;

    // Writer: the block to fill, or null when the ring is full; commitWrite publishes it.
    AudioBlock* beginWrite();
    void commitWrite();

    // Reader: the oldest unread block (null when empty) and how many of its frames were read.
    const AudioBlock* front() const;
    int frontOffset() const { return offset; }
    // Marks `frames` more frames of the front block as read; frees it when all are.
    void consume(int frames);

    // Empties the ring; only while neither side is using it.
    void clear();

private:
    int _channels;
    std::vector<float> storage;
    std::vector<AudioBlock> blocks;
    std::atomic<uint64_t> readCount{0};
    std::atomic<uint64_t> writeCount{0};
    int offset = 0; // reader-only
};
