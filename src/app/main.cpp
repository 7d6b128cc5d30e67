// Varlin: a track player for calling and cueing live dance evenings.
#include "services/Preferences.h"
#include "shell/AppDelegate.h"
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
    if (InstanceChannel::handOver(channelName, files))
        return 0;
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
    window.show();
    delegate.openFiles(files);
    return app.exec();
}
