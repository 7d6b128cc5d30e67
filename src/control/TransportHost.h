#pragma once
// What the transport commands need from the main controller that owns them: the current entry,
// the entry that just finished, the program's volume, and the refreshes that follow a command.

#include <memory>

class PlaylistEntry;
class RemoteControlDelegate;

class TransportHost {
public:
    virtual ~TransportHost() = default;

    // The playlist's current entry, or null.
    virtual std::shared_ptr<PlaylistEntry> assignedEntry() const = 0;
    // The entry that last finished playing by itself, until playback starts again; or null.
    virtual std::shared_ptr<PlaylistEntry> prevEntry() const = 0;
    virtual void clearPrevEntry() = 0;
    // Makes `entry` the current one.
    virtual void assignEntry(const std::shared_ptr<PlaylistEntry>& entry) = 0;
    // Play was asked for an entry whose file cannot be played: the window says why.
    virtual void playRefused(const std::shared_ptr<PlaylistEntry>& entry) = 0;

    // The program's volume, 0 … 1. Setting it clamps it and applies it to the player and to the
    // computer's output, and moves the panel's volume slider.
    virtual float volume() const = 0;
    virtual void setVolume(float volume) = 0;

    // The entry's zeros changed: its markers are drawn again.
    virtual void entryMarksChanged(const std::shared_ptr<PlaylistEntry>& entry) = 0;
    virtual void updateDisplays() = 0;
    virtual void saveRunState() = 0;
    // A user action: the screensaver's countdown starts again.
    virtual void restartIdle() = 0;
    // The MP4 viewer while its window is in front, which then takes the remote's buttons; or null.
    virtual RemoteControlDelegate* activeRemoteTarget() const = 0;
};
