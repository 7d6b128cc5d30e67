#include "shell/DesktopPresence.h"

#include "control/MprisService.h"
#include "control/TransportViewController.h"
#include "services/IdleInhibitor.h"
#include "shell/AppDelegate.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"
#include "table/PlaylistTableModel.h"

#include <QEvent>
#include <QUrl>
#include <QWidget>

DesktopPresence::DesktopPresence(AppDelegate& delegate, QWidget& window,
                                 const QDBusConnection& sessionBus,
                                 const QDBusConnection& systemBus, QObject* parent)
    : QObject(parent), delegate(delegate), main(*delegate.mainViewController()), window(window),
      _mpris(
          new MprisService(main.player, main.transport(), main, main.mediaCommands(), *this, this)),
      _inhibitor(new IdleInhibitor(sessionBus, systemBus, this)) {
    _mpris->registerOn(sessionBus);
    // The title follows the play state and the session's name.
    connect(&main, &MainViewController::windowTitleChanged, _mpris,
            &MprisService::stateMayHaveChanged);
    connect(&main, &MainViewController::currentEntryChanged, _mpris,
            &MprisService::stateMayHaveChanged);
    connect(&main, &MainViewController::volumeChanged, _mpris, &MprisService::stateMayHaveChanged);
    connect(&main.transport(), &TransportViewController::rateApplied, _mpris,
            &MprisService::stateMayHaveChanged);
    connect(&main, &MainViewController::positionJumped, _mpris, &MprisService::positionJumped);

    connect(&main, &MainViewController::previewingChanged, this, &DesktopPresence::holdScreen);
    window.installEventFilter(this);
    holdScreen();
}

DesktopPresence::~DesktopPresence() = default;

void DesktopPresence::holdScreen() {
    _inhibitor->setHeld(!main.player.previewing() && window.isVisible());
}

bool DesktopPresence::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        holdScreen();
    return false;
}

void DesktopPresence::raise() {
    emit delegate.activationRequested();
}

void DesktopPresence::quit() {
    // What the menu's Quit does: the window closes, which saves before the program ends.
    window.close();
}

void DesktopPresence::openFile(const QUrl& url) {
    delegate.openFiles({url.toLocalFile()});
}

QString DesktopPresence::title(const PlaylistEntry& entry) const {
    return PlaylistTableModel::titleOf(entry);
}

QString DesktopPresence::sessionName() const {
    const std::optional<QUrl> url = main.sessions().sessionURL();
    return url ? MainViewController::sessionName(*url) : QString();
}
