#pragma once
// A file that a reader must set aside: the given bytes at `path`, or a folder there when there
// are none.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

inline bool putBadFile(const QString& path, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return QDir().mkpath(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
