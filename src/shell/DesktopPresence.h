#pragma once
// Varlin as the desktop sees it while it runs: the MPRIS player on the session bus (panel
// applets, media keys handled by the desktop, phones and Bluetooth remotes), told whenever the
// play state, the track, the rate or the volume may have changed; and the screen kept on and the
// computer awake while the window is shown in dance mode. Both end with this object, at quit.

#include "control/MprisHost.h"

#include <QDBusConnection>
#include <QObject>

class AppDelegate;
class IdleInhibitor;
class MainViewController;
class MprisService;
class QWidget;

class DesktopPresence : public QObject, public MprisHost {
    Q_OBJECT
public:
    // `delegate` already knows the main controller; `window` is the main window.
    DesktopPresence(AppDelegate& delegate, QWidget& window, const QDBusConnection& sessionBus,
                    const QDBusConnection& systemBus, QObject* parent = nullptr);
    ~DesktopPresence() override;

    MprisService& mpris() const { return *_mpris; }
    IdleInhibitor& inhibitor() const { return *_inhibitor; }

    // MprisHost
    void raise() override;
    void quit() override;
    void openFile(const QUrl& url) override;
    QString title(const PlaylistEntry& entry) const override;
    QString sessionName() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dance mode with the window shown holds the inhibitors; anything else lets them go.
    void holdScreen();

    AppDelegate& delegate;
    MainViewController& main;
    QWidget& window;
    MprisService* _mpris;
    IdleInhibitor* _inhibitor;
};
