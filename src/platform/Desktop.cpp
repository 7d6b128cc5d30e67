#include "platform/Desktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>

namespace {
const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");

bool showInFileManager(const QUrl& url) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(fileManagerService).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        fileManagerService, QStringLiteral("/org/freedesktop/FileManager1"), fileManagerService,
        QStringLiteral("ShowItems"));
    call << QStringList{url.toString()} << QString();
    // Fire and forget: the file manager may take its time to start, and nothing waits on it.
    return bus.send(call);
}
} // namespace

bool Desktop::openFile(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void Desktop::revealFile(const QUrl& url) {
    if (!url.isLocalFile() || showInFileManager(url))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath()));
}
