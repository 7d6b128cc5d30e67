#pragma once
// What the program knows about its own build, compiled in: the version for the window title and
// the About page, and the day it was built.

#include <QDate>
#include <QString>

namespace Environment {

// The project version, or "<unknown version>" when the build carries none.
QString appVersion();

// The build day; invalid only if the build system passed something that is not a date.
QDate buildDate();

} // namespace Environment
