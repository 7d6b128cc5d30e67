#pragma once
// The desktop's own applications: open a file with its default application, show a file in the
// file manager.

#include <QUrl>

namespace Desktop {

// False when the desktop has no application for it.
bool openFile(const QUrl& url);
// Asks the file manager (org.freedesktop.FileManager1) to show the file selected; without one,
// opens the file's folder. Only local files are shown.
void revealFile(const QUrl& url);

} // namespace Desktop
