#include "model/AtomicFile.h"

#include <QSaveFile>

bool AtomicFile::write(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a file-size limit) shows in write()'s count;
    // through the buffer it is lost and commit() would rename a truncated file into place.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("can't write %1: %2")
                     .arg(path, file.error() == QFileDevice::NoError ? QStringLiteral("short write")
                                                                     : file.errorString());
    return false;
}
