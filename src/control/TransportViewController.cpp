#include "control/TransportViewController.h"

#include "model/PlaylistEntry.h"
#include "playback/Player.h"
#include "playback/RestTimer.h"
#include "services/DoNotDisturb.h"

TransportViewController::TransportViewController(Player& player, RestTimer& restTimer,
                                                 std::function<void()> turnOnDoNotDisturb,
                                                 QObject* parent)
    : QObject(parent), player(player), restTimer(restTimer),
      turnOnDoNotDisturb(turnOnDoNotDisturb ? std::move(turnOnDoNotDisturb)
                                            : std::function<void()>(::turnOnDoNotDisturb)) {}

void TransportViewController::playCommand() {
    emit symbolFlashed(QStringLiteral("play.fill"));
    restTimer.disarm();
    player.skipToEndIfWithin(10.0);
    turnOnDoNotDisturb();
    player.play();
}

void TransportViewController::pauseCommand() {
    emit symbolFlashed(QStringLiteral("pause.fill"));
    if (player.isPlaying()) {
        restTimer.arm();
        player.pause();
    }
    const std::shared_ptr<PlaylistEntry>& entry = player.entry();
    if (!entry)
        return;
    const double t = player.currentTime();
    if (t - entry->previousZero(t) > 1.0)
        player.setCurrentTime(t - 1.0);
}
