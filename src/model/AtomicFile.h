#pragma once
// Replaces a file's content as a whole: the bytes go to a temporary file beside it that is renamed
// over the old one only when completely written, so a failed or interrupted write leaves the
// previous file as it was.

#include <QByteArray>
#include <QString>

namespace AtomicFile {

// True on success; otherwise `error` (when given) receives a one-line reason.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace AtomicFile
