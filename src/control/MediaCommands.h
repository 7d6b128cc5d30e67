#pragma once
// What the desktop's media controls ask of the transport: MPRIS calls (a panel applet, a phone, a
// Bluetooth remote) and the keyboard's media keys. Each is a remote's press: it leaves prepare
// mode and runs the transport command the game controller's buttons run, so the dance-mode rules
// (the break, do-not-disturb, the lead-in step back) hold whichever control was used.

class Player;
class TransportHost;
class TransportViewController;

class MediaCommands {
public:
    MediaCommands(TransportViewController& transport, Player& player, TransportHost& host);

    void play();
    void pause();
    // Pause while music plays, else play.
    void playPause();
    // The previous and next zero.
    void previous();
    void next();
    // Seeks, clamped by the player to the track.
    void seekTo(double seconds);
    void seekBy(double seconds);
    void setRate(double rate);
    void setVolume(double volume);

    // Runs the command of a media key (a Qt::Key); false for any other key. The keyboard's one
    // play key arrives as Qt::Key_MediaPlay, so it toggles as the space bar does; stop pauses.
    bool mediaKey(int key);

private:
    TransportViewController& transport;
    Player& player;
    TransportHost& host;
};
