#include "platform/audio/ByteSource.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// Through stdio's buffer: libmpg123 reads each frame header and body with separate small reads,
// which then cost a system call per 64 KiB instead of two per frame.
class FileSource final : public ByteSource {
public:
    static std::unique_ptr<ByteSource> open(const QString& path, QString* error) {
        std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "rbe");
        if (!file) {
            if (error)
                *error = QString("cannot open: %1").arg(std::strerror(errno));
            return nullptr;
        }
        std::setvbuf(file, nullptr, _IOFBF, size_t(64) * 1024);
        return std::unique_ptr<ByteSource>(new FileSource(path, file));
    }

    ~FileSource() override { std::fclose(_file); }

    int64_t read(void* buffer, int64_t bytes) override {
        const size_t count = std::fread(buffer, 1, size_t(std::max<int64_t>(bytes, 0)), _file);
        return count == 0 && std::ferror(_file) ? -1 : int64_t(count);
    }

    int64_t seek(int64_t offset, int whence) override {
        return fseeko(_file, off_t(offset), whence) == 0 ? int64_t(ftello(_file)) : -1;
    }

    int64_t size() const override {
        struct stat status {};
        return ::fstat(fileno(_file), &status) == 0 ? int64_t(status.st_size) : -1;
    }

    std::unique_ptr<ByteSource> reopen(QString* error) const override { return open(_path, error); }

private:
    FileSource(QString path, std::FILE* file) : _path(std::move(path)), _file(file) {}

    QString _path;
    std::FILE* _file;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArray bytes) : _bytes(std::move(bytes)) {}

    int64_t read(void* buffer, int64_t bytes) override {
        const int64_t count = std::clamp<int64_t>(size() - _position, 0, bytes);
        if (count <= 0)
            return 0;
        std::memcpy(buffer, _bytes.constData() + _position, size_t(count));
        _position += count;
        return count;
    }

    int64_t seek(int64_t offset, int whence) override {
        const int64_t base = whence == SEEK_SET   ? 0
                             : whence == SEEK_CUR ? _position
                             : whence == SEEK_END ? size()
                                                  : -1;
        if (base < 0 || offset < -base || offset > INT64_MAX - base)
            return -1;
        _position = base + offset;
        return _position;
    }

    int64_t size() const override { return _bytes.size(); }

    std::unique_ptr<ByteSource> reopen(QString*) const override {
        return std::make_unique<MemorySource>(_bytes);
    }

private:
    QByteArray _bytes; // shared, not copied, by a reopened source
    int64_t _position = 0;
};

} // namespace

std::unique_ptr<ByteSource> ByteSource::openFile(const QString& path, QString* error) {
    return FileSource::open(path, error);
}

std::unique_ptr<ByteSource> ByteSource::fromMemory(QByteArray bytes) {
    return std::make_unique<MemorySource>(std::move(bytes));
}

QByteArray ByteSource::peek(int64_t offset, int64_t bytes) {
    const int64_t position = seek(0, SEEK_CUR);
    QByteArray result;
    if (position < 0 || seek(offset, SEEK_SET) < 0)
        return result;
    result.resize(qsizetype(std::max<int64_t>(bytes, 0)));
    const int64_t read = this->read(result.data(), result.size());
    result.resize(qsizetype(std::max<int64_t>(read, 0)));
    seek(position, SEEK_SET);
    return result;
}
