#include "platform/Diagnostics.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QMutex mutex;
std::vector<QStringList*> liveCaptures;
} // namespace

void printLine(const QString& line) {
    QMutexLocker lock(&mutex);
    if (!liveCaptures.empty()) {
        for (QStringList* captured : liveCaptures)
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
    liveCaptures.push_back(&captured);
}

DiagnosticCapture::~DiagnosticCapture() {
    QMutexLocker lock(&mutex);
    liveCaptures.erase(std::find(liveCaptures.begin(), liveCaptures.end(), &captured));
}

QStringList DiagnosticCapture::lines() const {
    QMutexLocker lock(&mutex);
    return captured;
}

void DiagnosticCapture::clear() {
    QMutexLocker lock(&mutex);
    captured.clear();
}
