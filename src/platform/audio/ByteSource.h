#pragma once
// The bytes of an audio file as the decoding libraries read them, through their callback
// interfaces: a file on disk, or bytes already in memory. Every decoder reads through one of
// these, so a file and the same bytes in memory decode alike.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Null with a one-line reason when the file cannot be opened.
    static std::unique_ptr<ByteSource> openFile(const QString& path, QString* error);
    static std::unique_ptr<ByteSource> fromMemory(QByteArray bytes);

    // Up to `bytes` bytes from the position on: the count read, 0 at the end, -1 when reading
    // fails.
    virtual int64_t read(void* buffer, int64_t bytes) = 0;
    // Moves the position as lseek does (SEEK_SET, SEEK_CUR, SEEK_END); the new position, or -1.
    virtual int64_t seek(int64_t offset, int whence) = 0;
    virtual int64_t size() const = 0;
    // Another reader of the same bytes, at their start; null with a reason when the file cannot
    // be opened again.
    virtual std::unique_ptr<ByteSource> reopen(QString* error) const = 0;

    // Up to `bytes` bytes from `offset`, leaving the position where it was.
    QByteArray peek(int64_t offset, int64_t bytes);
};
