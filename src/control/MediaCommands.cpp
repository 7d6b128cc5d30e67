#include "control/MediaCommands.h"

#include "control/TransportHost.h"
#include "control/TransportViewController.h"
#include "playback/Player.h"

#include <qnamespace.h>

MediaCommands::MediaCommands(TransportViewController& transport, Player& player,
                             TransportHost& host)
    : transport(transport), player(player), host(host) {}

void MediaCommands::play() {
    transport.remotePress();
    transport.playCommand();
}

void MediaCommands::pause() {
    transport.remotePress();
    transport.pauseCommand();
}

void MediaCommands::playPause() {
    if (player.isPlaying())
        pause();
    else
        play();
}

void MediaCommands::previous() {
    transport.remotePress();
    transport.prevZero();
}

void MediaCommands::next() {
    transport.remotePress();
    transport.nextZero();
}

void MediaCommands::seekTo(double seconds) {
    transport.remotePress();
    player.setCurrentTime(seconds);
}

void MediaCommands::seekBy(double seconds) {
    transport.remotePress();
    player.setCurrentTime(player.currentTime() + seconds);
}

void MediaCommands::setRate(double rate) {
    transport.remotePress();
    transport.setRate(rate);
}

void MediaCommands::setVolume(double volume) {
    transport.remotePress();
    host.setVolume(float(volume));
}

bool MediaCommands::mediaKey(int key) {
    switch (key) {
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
        playPause();
        return true;
    case Qt::Key_MediaPause:
    case Qt::Key_MediaStop:
        pause();
        return true;
    case Qt::Key_MediaPrevious:
        previous();
        return true;
    case Qt::Key_MediaNext:
        next();
        return true;
    default:
        return false;
    }
}
