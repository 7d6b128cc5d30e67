#pragma once
// A small value published by one writer thread and read by any thread without a lock (a
// sequence lock over atomic words): readers retry in the rare case they overlap a write.
// Writes never wait, so the audio callback can publish through it.

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <type_traits>

template <typename T> class SeqLocked {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % sizeof(uint64_t) == 0);

public:
    void store(const T& value) {
        const uint32_t sequence = _sequence.load(std::memory_order_relaxed);
        _sequence.store(sequence + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        const auto copy = std::bit_cast<std::array<uint64_t, wordCount>>(value);
        for (size_t i = 0; i < wordCount; ++i)
            words[i].store(copy[i], std::memory_order_relaxed);
        _sequence.store(sequence + 2, std::memory_order_release);
    }

    T load() const {
        std::array<uint64_t, wordCount> copy;
        for (;;) {
            const uint32_t before = _sequence.load(std::memory_order_acquire);
            if (before & 1u)
                continue;
            for (size_t i = 0; i < wordCount; ++i)
                copy[i] = words[i].load(std::memory_order_relaxed);
            std::atomic_thread_fence(std::memory_order_acquire);
            if (_sequence.load(std::memory_order_relaxed) == before)
                break;
        }
        return std::bit_cast<T>(copy);
    }

private:
    static constexpr size_t wordCount = sizeof(T) / sizeof(uint64_t);
    std::atomic<uint32_t> _sequence{0};
    std::array<std::atomic<uint64_t>, wordCount> words{};
};
