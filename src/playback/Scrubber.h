#pragma once
// Lets the caller hear where the time slider's knob is while it is dragged: one-second snippets
// from the knob's position on a second audio player of its own, at rate 1.5 and half the main
// volume, one after another while the drag lasts. A new one is made for every current entry.

#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class AudioFilePlayer;
class Player;

class Scrubber {
public:
    // Runs `step` on the main thread after `seconds`; tests pass a hand-driven one.
    using Scheduler = std::function<void(double seconds, std::function<void()> step)>;

    static constexpr double snipTime = 1.0;

    // Without a URL, or when the file cannot be played, the scrubber stays silent.
    Scrubber(Player* manager, const std::optional<QUrl>& url, Scheduler schedule = {});
    ~Scrubber();
    Scrubber(const Scrubber&) = delete;
    Scrubber& operator=(const Scrubber&) = delete;

    bool scrubbing() const { return _scrubbing; }
    // Set on every drag movement and cleared on release; each write runs scrubStep().
    void setScrubbing(bool scrubbing);
    void scrubStep();

    bool isScrubPlaying() const { return scrubPlaying; }
    const std::shared_ptr<AudioFilePlayer>& audioPlayer() const { return avPlayer; }

private:
    void snippetEnded();

    Player* manager;
    bool _scrubbing = false;
    bool scrubPlaying = false;
    std::shared_ptr<AudioFilePlayer> avPlayer;
    Scheduler schedule;
    // A pending step of a scrubber that has been replaced meanwhile finds this gone.
    std::shared_ptr<int> alive = std::make_shared<int>();
};
