#pragma once
// The transport commands, implemented once: the panel's buttons, the keyboard and the remote all
// end here. Each command flashes its symbol or text over the window for a caller standing away
// from the screen. The rate lives in the panel's slider and switch, the volume in the main
// controller, everything else in the Player.

#include "control/RemoteControlDelegate.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class GameControllerSet;
class GameControllerSource;
class Player;
class RestTimer;
class TransportHost;
class TransportPanel;

class TransportViewController : public QObject, public RemoteControlDelegate {
    Q_OBJECT
public:
    struct Options {
        // Defaults to the desktop's notification inhibition.
        std::function<void()> turnOnDoNotDisturb;
        // The modifier keys held now; defaults to asking the window system.
        std::function<Qt::KeyboardModifiers()> heldModifiers;
    };

    TransportViewController(Player& player, RestTimer& restTimer, TransportHost& host,
                            TransportPanel& panel, Options options = {}, QObject* parent = nullptr);
    ~TransportViewController() override;

    // Once, at the first activation: the volume slider takes the program's volume and the remote
    // starts listening. A null source means the system's game controllers.
    void setUp(std::unique_ptr<GameControllerSource> controllers = nullptr);

    void back1();
    void back3();
    void forward1();
    // Disarms the break, ends a track that is within 10 s of its end, holds back notifications
    // and plays; a current entry whose file cannot be played is refused through the host.
    void playCommand();
    // Arms the break when music was playing, pauses, and steps back one second for a lead-in
    // (never back across the zero the figure started from).
    void pauseCommand();
    void prevZero();
    void nextZero();
    void markZero();
    void faster();
    void slower();
    // Plays at the slider's value ÷ 45, or at exactly 2.0 with double speed on.
    void applyRate();
    // The rate the panel sets: the slider's value ÷ 45, or 2.0 with double speed on.
    double rate() const;
    // Double speed off and the slider at the step nearest `rate`, within its ends.
    void setRate(double rate);
    void volumeUp();
    void volumeDown();
    void volumeFromSlider();
    // Opening a session: double speed off, normal speed.
    void resetRate();

    // The volume on a 0 … 10 scale in half steps: "½", "5", "1½", "10".
    static QString volumeText(float volume);

    // Any remote's press (the game controller, the desktop's media controls), before its
    // command: the run state is saved, prepare mode ends and the screensaver's countdown restarts.
    void remotePress();

    // RemoteControlDelegate
    void remoteButtonPressed(RemoteControlButton button) override;
    void remoteButtonReleased(RemoteControlButton button) override;
    void remoteControllersChanged(int count) override;

    GameControllerSet* gameControllerSet() const { return _gameControllerSet.get(); }

signals:
    // A symbol to flash over the window ("play.fill", "z.square", "8bitdoNotifier", ...).
    void symbolFlashed(const QString& symbolName);
    // A text to flash over the window (the rate number, the volume).
    void textFlashed(const QString& text);
    // The rate was applied (it may be the same as before).
    void rateApplied();

private:
    // After a track ran out and the next one was loaded, the back and zero commands act on the
    // track that just ended: it becomes current again, 0.1 s before its end.
    void returnToFinishedTrack();
    void seekBy(double seconds);
    void stepRate(int step);
    void setRateValue(int value);
    void changeVolume(float step);

    Player& player;
    RestTimer& restTimer;
    TransportHost& host;
    TransportPanel& panel;
    Options options;
    std::unique_ptr<GameControllerSet> _gameControllerSet;
};
