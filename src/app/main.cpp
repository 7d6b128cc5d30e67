// Varlin: a track player for calling and cueing live dance evenings.
#include "platform/Diagnostics.h"
#include "services/Preferences.h"
#include "shell/AppDelegate.h"
#include "shell/DesktopPresence.h"
#include "shell/InstanceChannel.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <SDL.h>

int main(int argc, char** argv) {
    // Before SDL starts and before Qt Multimedia picks its back end.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("brenmoor"));
    QApplication::setApplicationName(QStringLiteral("varlin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varlin"));
    // Wayland matches the window to the installed desktop entry (and its icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral("net.brenmoor.varlin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/net.brenmoor.varlin.svg")));

    const QStringList files = QApplication::arguments().mid(1);
    const QString channelName = InstanceChannel::defaultName();
    if (InstanceChannel::handOver(channelName, files)) {
        const QString what = files.isEmpty() ? QStringLiteral("its window comes to the front")
                             : files.size() == 1
                                 ? QStringLiteral("the file goes to it")
                                 : QStringLiteral("the %1 files go to it").arg(files.size());
        printLine(QStringLiteral("Varlin is already running in this session: ") + what);
        return 0;
    }
    Preferences::setAsideUnreadableStore();

    AppDelegate delegate;
    InstanceChannel channel(channelName);
    channel.listen();
    QObject::connect(&channel, &InstanceChannel::filesReceived, &delegate,
                     [&delegate](const QStringList& paths) {
                         emit delegate.activationRequested();
                         delegate.openFiles(paths);
                     });

    MainWindow window(delegate);
    DesktopPresence desktop(delegate, window, QDBusConnection::sessionBus(),
                            QDBusConnection::systemBus());
    window.show();
    delegate.openFiles(files);
    return app.exec();
}
