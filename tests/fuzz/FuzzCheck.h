#pragma once
// What the fuzz targets share: the input as bytes, and the check that turns a broken promise of
// the code under test into a crash that libFuzzer keeps as an artifact.

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Not copied, so a read past the end is caught.
inline QByteArray fuzzInput(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline void require(bool condition, const char* promise) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}
