#pragma once
// What the Player tells its owner (the main controller): sound started or stopped, the track
// ended by itself, the position jumped, previewing was switched. Called on the main thread.

class PlayerDelegate {
public:
    virtual ~PlayerDelegate() = default;

    // `isPlaying` was assigned true (also when it already was).
    virtual void playerStarted() = 0;
    // `isPlaying` was assigned false, and first thing when the file ends.
    virtual void playerStopped() = 0;
    // The audio reached the end of the file (after playerStopped).
    virtual void playerDidFinish() = 0;
    // After every seek.
    virtual void playerTimeChanged() = 0;
    // After `previewing` was written.
    virtual void playerPreviewingChanged() = 0;
};
