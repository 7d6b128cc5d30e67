#pragma once
// Plays the session's current track: owns its audio player, keeps the position while nothing
// sounds, records the heard ranges of the entry while not previewing, and reports to its
// PlayerDelegate. There is one, owned by the main controller; everything runs on the main
// thread.

#include <QString>
#include <functional>
#include <memory>

class AudioFilePlayer;
class PlayerDelegate;
class PlaylistEntry;

class Player {
public:
    // `log` receives the lines for the play log (a file that cannot be opened).
    explicit Player(std::function<void(const QString&)> log = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    const std::shared_ptr<PlaylistEntry>& entry() const { return _entry; }
    // Loads the entry's file (none: stops and unloads, keeping the last audio player).
    void setEntry(const std::shared_ptr<PlaylistEntry>& entry);

    bool previewing() const { return _previewing; }
    void setPreviewing(bool previewing);

    // The audio's position while it plays unsuspended, else `desiredTime`.
    double currentTime() const;
    // A seek, clamped to 0 ... duration - 0.1.
    void setCurrentTime(double seconds);
    // The audio player's duration, or 10.0 without one.
    double duration() const;

    bool isPlaying() const { return _isPlaying; }
    // Every assignment reports to the delegate, also when the value does not change.
    void setIsPlaying(bool playing);

    void play();
    void resume();
    void pause();
    void suspend();
    void recordPlayedRange();
    void skipToEndIfWithin(double seconds);

    // The main controller's volume, copied into the audio player (clamped to 0 ... 1).
    float volume() const { return _volume; }
    void setVolume(float volume);
    // The audio player's rate (1.0 without one); it carries over to the next track.
    float rate() const;
    void setRate(float rate);

    const std::shared_ptr<AudioFilePlayer>& audioPlayer() const { return avplayer; }
    bool isSuspended() const { return suspended; }
    double desiredTime = 0;
    // Not owned: the main controller outlives its player.
    PlayerDelegate* delegate = nullptr;

private:
    std::shared_ptr<AudioFilePlayer> makeAudioPlayer(const std::shared_ptr<PlaylistEntry>& entry);
    void audioPlayerDidFinishPlaying();

    std::function<void(const QString&)> log;
    std::shared_ptr<PlaylistEntry> _entry;
    std::shared_ptr<AudioFilePlayer> avplayer;
    bool suspended = false;
    bool _previewing = false;
    bool _isPlaying = false;
    float _volume = 0.5f;
};
