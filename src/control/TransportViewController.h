#pragma once
// The transport commands, implemented once for the panel's buttons, the keyboard and the remote.
// For now the play and pause commands; the panel and the other commands join them later.

#include <QObject>
#include <QString>
#include <functional>

class Player;
class RestTimer;

class TransportViewController : public QObject {
    Q_OBJECT
public:
    // `turnOnDoNotDisturb` defaults to the desktop's notification inhibition.
    TransportViewController(Player& player, RestTimer& restTimer,
                            std::function<void()> turnOnDoNotDisturb = {},
                            QObject* parent = nullptr);

    // Disarms the break, ends a track that is within 10 s of its end, holds back notifications
    // and plays.
    void playCommand();
    // Arms the break when music was playing, pauses, and steps back one second for a lead-in
    // (never back across the zero the figure started from).
    void pauseCommand();

signals:
    // A symbol to flash over the window ("play.fill", "pause.fill") for a caller away from the
    // screen.
    void symbolFlashed(const QString& symbolName);

private:
    Player& player;
    RestTimer& restTimer;
    std::function<void()> turnOnDoNotDisturb;
};
