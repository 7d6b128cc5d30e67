#include "playback/Scrubber.h"

#include "model/PlaylistEntry.h"
#include "platform/audio/AudioFilePlayer.h"
#include "playback/OfflinePlayback.h"
#include "playback/Player.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

class ScrubberTest : public OfflinePlayback {
protected:
    ScrubberTest() {
        player.setEntry(std::make_shared<PlaylistEntry>(url));
        player.setVolume(0.8f);
    }

    Scrubber::Scheduler scheduler() {
        return [this](double seconds, std::function<void()> step) {
            // A step is scheduled as each snippet starts: note when, and from where.
            if (watched)
                snippets.push_back({now, watched->audioPlayer()->currentTime()});
            pending.emplace(now + seconds, std::move(step));
        };
    }

    // Moves time on by `seconds`: renders the output and runs the steps that fall due. Returns
    // the loudest sample of the output's last stretch.
    float advance(double seconds) {
        const double until = now + seconds;
        std::vector<float> output;
        while (!pending.empty() && pending.begin()->first <= until + 1e-9) {
            const auto [due, step] = *pending.begin();
            pending.erase(pending.begin());
            output = render(due - now);
            now = due;
            step();
        }
        output = render(until - now);
        now = until;
        float peak = 0;
        for (float sample : output)
            peak = std::max(peak, std::abs(sample));
        return peak;
    }

    std::multimap<double, std::function<void()>> pending;
    const Scrubber* watched = nullptr;
    std::vector<std::pair<double, double>> snippets;
    double now = 0;
    const QUrl url = make("track.wav", tone(60));
    Player player;
};

TEST_F(ScrubberTest, ADragOfTwoAndAHalfSecondsPlaysThreeSnippetsFromTheKnob) {
    Scrubber scrubber(&player, url, scheduler());
    watched = &scrubber;
    // What the time slider does on every drag movement; moving during a snippet does not cut it
    // short.
    for (const double t : {10.0, 20.0, 25.0, 30.0}) {
        player.setCurrentTime(t);
        scrubber.setScrubbing(true);
        advance(0.5);
    }
    // A snippet sounds at half the main volume (the tone is at half scale) and 1.5 times speed.
    EXPECT_NEAR(advance(0.5), 0.4f * 0.5f, 0.01f);
    EXPECT_NEAR(scrubber.audioPlayer()->currentTime(), 30.75, 0.01);
    // Released in the middle of the third snippet: it plays to its end and nothing follows.
    scrubber.setScrubbing(false);
    EXPECT_GT(advance(0.25), 0.1f);
    advance(0.3);
    EXPECT_FALSE(scrubber.isScrubPlaying());
    EXPECT_EQ(advance(2.0), 0.0f);
    EXPECT_EQ(snippets, (std::vector<std::pair<double, double>>{{0, 10}, {1, 20}, {2, 30}}));
    // The main player was never disturbed.
    EXPECT_FALSE(player.isPlaying());

    // A replaced scrubber's pending step finds nothing to do.
    auto replaced = std::make_unique<Scrubber>(&player, url, scheduler());
    replaced->setScrubbing(true);
    replaced.reset();
    advance(1.5);
    EXPECT_TRUE(pending.empty());
}

} // namespace
