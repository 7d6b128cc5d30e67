#include "platform/Diagnostics.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

namespace {
QMutex mutex;
QStringList* captured = nullptr;
} // namespace

void printLine(const QString& line) {
    QMutexLocker lock(&mutex);
    if (captured) {
        captured->append(line);
        return;
    }
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

DiagnosticCapture::DiagnosticCapture() {
    QMutexLocker lock(&mutex);
    captured = new QStringList;
}

DiagnosticCapture::~DiagnosticCapture() {
    QMutexLocker lock(&mutex);
    delete captured;
    captured = nullptr;
}

QStringList DiagnosticCapture::lines() const {
    QMutexLocker lock(&mutex);
    return *captured;
}

void DiagnosticCapture::clear() {
    QMutexLocker lock(&mutex);
    captured->clear();
}
