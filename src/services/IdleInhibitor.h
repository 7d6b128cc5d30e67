#pragma once
// Keeps the hall's screen on and the computer awake while a dance runs: the caller reads the
// times, the cues and the clock from across the room. Holds the desktop's screensaver inhibitor
// (org.freedesktop.ScreenSaver on the session bus: no blanking, no locking) and a logind
// "idle:sleep" block (org.freedesktop.login1 on the system bus, held as an open descriptor).
// Requests never block; a bus or service that is missing or refuses is named in one line and
// then left alone.

#include <QDBusConnection>
#include <QObject>
#include <memory>

class IdleInhibitor : public QObject {
    Q_OBJECT
public:
    IdleInhibitor(const QDBusConnection& sessionBus, const QDBusConnection& systemBus,
                  QObject* parent = nullptr);
    // Releases at once: the program is ending.
    ~IdleInhibitor() override;

    // Takes or gives back both inhibitors. A release that overtakes a pending request gives the
    // inhibitor back as soon as it arrives.
    void setHeld(bool held);
    bool held() const { return wanted; }

private:
    class Inhibition;

    bool wanted = false;
    std::unique_ptr<Inhibition> screenSaver;
    std::unique_ptr<Inhibition> sleep;
};
