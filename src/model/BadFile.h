#pragma once
// A file of the program's own that cannot be used (a corrupt run state, an unreadable
// preferences file, a damaged recovery copy) is renamed out of the way, never deleted or
// overwritten: the program starts clean and the bytes are still there to look at.

#include <QString>
#include <optional>

namespace BadFile {

// Renames `path` to the first free name of "<path>.bad", "<path>.2.bad", "<path>.3.bad", ...
// (an older bad copy is kept) and prints one line saying what it was and why it was set aside.
// Returns the new path; none (also said) when the rename failed.
std::optional<QString> setAside(const QString& path, const QString& reason);

} // namespace BadFile
