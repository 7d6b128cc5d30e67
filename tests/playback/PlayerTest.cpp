#include "playback/Player.h"

#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"
#include "playback/OfflinePlayback.h"
#include "playback/PlayerDelegate.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

struct RecordingDelegate : PlayerDelegate {
    void playerStarted() override { calls.push_back("started"); }
    void playerStopped() override { calls.push_back("stopped"); }
    void playerDidFinish() override { calls.push_back("finished"); }
    void playerTimeChanged() override { calls.push_back("time"); }
    void playerPreviewingChanged() override { calls.push_back("previewing"); }
    Calls taken() { return std::exchange(calls, {}); }
    Calls calls;
};

class PlayerTest : public OfflinePlayback {
protected:
    PlayerTest() { player.delegate = &delegate; }

    std::shared_ptr<PlaylistEntry> entry(const QString& name, double seconds) {
        return std::make_shared<PlaylistEntry>(make(name, tone(seconds)));
    }

    // The heard ranges to the millisecond, as "0.000-0.000 2.000-3.000".
    static QString heard(const PlaylistEntry& entry) {
        QStringList list;
        if (entry.currentTimeRangeSet)
            for (const TimeRange& range : entry.currentTimeRangeSet->ranges())
                list << QString::number(range.start, 'f', 3) + "-" +
                            QString::number(range.end, 'f', 3);
        return list.join(' ');
    }

    // The main controller's 0.1 s tick, as far as the player is concerned.
    void tick(double seconds) {
        for (int i = 0; i < int(std::lround(seconds * 10)); ++i) {
            render(0.1);
            player.recordPlayedRange();
        }
    }

    QStringList logged;
    RecordingDelegate delegate;
    Player player{[this](const QString& line) { logged << line; }};
};

TEST_F(PlayerTest, PlayingRecordsHeardRangesAndAJumpStartsAnotherOneButPreviewingDoesNot) {
    const auto track = entry("track.wav", 30);
    player.setEntry(track);
    for (const auto& [to, at] : {std::pair{100.0, 29.9}, {NAN, 0.0}}) {
        player.setCurrentTime(to);
        EXPECT_DOUBLE_EQ(player.currentTime(), at) << to;
    }
    // Right after loading, the tick records the empty range at the audio's time 0.
    player.recordPlayedRange();
    player.setCurrentTime(2);
    player.play();
    tick(1.0);
    EXPECT_EQ(heard(*track), "0.000-0.000 2.000-3.000");

    // A seek while playing closes the range where the sound was and goes on playing there.
    delegate.taken();
    player.setCurrentTime(10);
    EXPECT_EQ(delegate.taken(), (Calls{"time", "started"}));
    tick(0.5);
    // Jumping back into a heard range rejoins it.
    player.setCurrentTime(2.5);
    tick(1.0);
    render(0.05);
    player.pause();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(heard(*track), "0.000-0.000 2.000-3.550 10.000-10.500");
    // Playing again starts where the pause left off; previewing plays, and seeks, without
    // recording what is heard.
    player.setPreviewing(true);
    player.play();
    tick(0.5);
    EXPECT_NEAR(player.currentTime(), 4.05, 1e-6);
    player.setCurrentTime(20);
    tick(0.5);
    EXPECT_NEAR(player.currentTime(), 20.5, 1e-6);
    EXPECT_EQ(heard(*track), "0.000-0.000 2.000-3.550 10.000-10.500");
}

TEST_F(PlayerTest, LoadingStopsTheSoundKeepsTheRateAndTheEndReportsStoppedThenFinishedOnce) {
    const auto second = entry("second.wav", 2);
    player.setEntry(entry("first.wav", 20));
    player.setRate(1.2f);
    player.play();
    tick(1.0);
    delegate.taken();
    player.setEntry(second);
    EXPECT_EQ(delegate.taken(), (Calls{"stopped"}));
    EXPECT_FLOAT_EQ(player.rate(), 1.2f);
    const auto silence = render(0.3);
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](float s) { return s == 0; }));

    player.setCurrentTime(1.0);
    player.play();
    delegate.taken();
    tick(0.8);
    EXPECT_EQ(delegate.taken(), Calls{});
    tick(0.2);
    EXPECT_EQ(delegate.taken(), (Calls{"stopped", "finished"}));
    EXPECT_DOUBLE_EQ(player.currentTime(), 2.0);
    tick(1.0);
    EXPECT_EQ(delegate.taken(), Calls{});
    // Unloading keeps the last audio player: its duration still answers.
    player.setEntry(nullptr);
    EXPECT_DOUBLE_EQ(player.duration(), 2.0);
}

// The refusal to play such a track, with its reason, is the main controller's test.
TEST_F(PlayerTest, AnUnopenableFileIsRetriedAtItsBookmarkAndOtherwiseLeavesThePlayerEmpty) {
    DiagnosticCapture capture;
    const QUrl moved = make("moved.wav", tone(3));
    const QUrl gone = QUrl::fromLocalFile(dir.filePath("gone.wav"));
    const auto track = std::make_shared<PlaylistEntry>(gone, 3.0);
    track->storedBookmark = PlaylistEntry::bookmarkFor(moved);
    track->playProblem = "found missing earlier";
    player.setEntry(track);
    EXPECT_EQ(track->_url, moved);
    EXPECT_FALSE(track->playProblem) << "a file that opens is playable again";
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[1], "   url: " + gone.toString());
    capture.clear();

    // A folder where the track should be, and a bookmark naming the same place: nothing else
    // to try. The entry keeps the line that says why.
    const auto broken = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(dir.path()), 3.0);
    broken->storedBookmark = PlaylistEntry::bookmarkFor(broken->_url);
    player.setEntry(broken);
    EXPECT_FALSE(player.entry());
    ASSERT_EQ(capture.lines().size(), 1);
    EXPECT_EQ(broken->playProblem, capture.lines()[0]);
    player.recordPlayedRange();
    EXPECT_FALSE(broken->currentTimeRangeSet);
}

} // namespace
