#include "model/PlaylistEntry.h"

#include "support/FixedClock.h"
#include "support/TestFiles.h"
#include "testaudio/TestAudio.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QDateTime local(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime);
}

PlaylistEntry playedEntry(double duration, std::vector<TimeRange> played) {
    PlaylistEntry entry(QUrl("file:///music/a.mp3"), duration);
    entry.currentTimeRangeSet = std::make_shared<TimeRangeSet>(std::move(played));
    return entry;
}

} // namespace

// The fraction itself is read through the table's played column.
TEST(PlaylistEntry, NothingCountsAsPlayedWithoutAUsableDuration) {
    const TimeRangeSet played(std::vector<TimeRange>{{0, 1}});
    EXPECT_EQ(PlaylistEntry(QUrl("file:///m/b.mp3"), 0.001).playedFraction(played), 0.0);
    // An unreadable file has no duration.
    EXPECT_EQ(PlaylistEntry(QUrl("file:///nonexistent/c.mp3")).playedFraction(played), 0.0);
}

TEST(PlaylistEntry, CreateMeasuresRealAudioAndRefusesOtherFiles) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    testaudio::Spec spec;
    spec.seconds = 2.5;
    ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Wav, wav));
    const auto entry = PlaylistEntry::create(QUrl::fromLocalFile(wav));
    ASSERT_TRUE(entry && entry->_cachedDuration);
    EXPECT_NEAR(*entry->_cachedDuration, 2.5, 1e-6);

    const QString text = writeFile(dir.filePath("notes.mp3"), "this is not audio\n");
    EXPECT_FALSE(PlaylistEntry::create(QUrl::fromLocalFile(text)));
    EXPECT_FALSE(PlaylistEntry::create(QUrl::fromLocalFile(dir.filePath("missing.mp3"))));
}

// Bookmarks of other URLs and the notes read again after a relocation have no test of their own.
TEST(PlaylistEntry, TheBookmarkResolvesWhileTheFileExistsAndIsDroppedOnceItIsGone) {
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("moved ä.mp3"), {});
    PlaylistEntry entry(QUrl::fromLocalFile(dir.filePath("old.mp3")), 10);
    entry.storedBookmark = PlaylistEntry::bookmarkFor(QUrl::fromLocalFile(path));
    EXPECT_TRUE(entry.resolveBookmark());
    EXPECT_EQ(entry._url, QUrl::fromLocalFile(path));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(entry.resolveBookmark());
    EXPECT_FALSE(entry.storedBookmark);
}

// Play counting on leaving an entry, with the model's clock stood still. The exact edges of the age
// in calendar days, also across daylight-saving changes, have no test of their own.
TEST(PlaylistEntry, LeavingCountsMoreThanHalfOncePerRunMergesTheRangesAndSavesAlteredNotes) {
    FixedClock clock(local(2026, 5, 1, 20, 0));
    PlaylistEntry half = playedEntry(180, {{0, 90}});
    half.recordLeave();
    EXPECT_TRUE(half.playedDates.empty() && !half.hasBeenCompleted) << "half is not more";

    PlaylistEntry more = playedEntry(180, {{0, 50}, {60, 100.5}});
    more.recordLeave();
    clock.advance(600);
    more.recordLeave();
    EXPECT_EQ(more.playedDates, std::vector<QDateTime>{local(2026, 5, 1, 20, 0)});
    EXPECT_TRUE(more.hasBeenCompleted);
    // The age counts calendar days: four hours later, past midnight, the play is a day old.
    clock.set(local(2026, 5, 2, 0, 1));
    EXPECT_EQ(more.daysSinceLastPlayed(), 1);

    // This run joins the ranges ever heard; its own set stays.
    PlaylistEntry entry = playedEntry(300, {{5, 20}, {40, 50}, {70, 80}});
    entry.prevTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 10}, {45, 60}, {100, 120}});
    entry.recordLeave();
    EXPECT_EQ(entry.prevTimeRangeSet->ranges(),
              (std::vector<TimeRange>{{0, 20}, {40, 60}, {70, 80}, {100, 120}}));
    EXPECT_EQ(entry.currentTimeRangeSet->ranges().size(), 3u);

    QTemporaryDir dir;
    PlaylistEntry untouched(QUrl::fromLocalFile(dir.filePath("b.mp3")), 300);
    untouched.noteSet()->addNote(12)->text = "turn";
    untouched.recordLeave();
    EXPECT_TRUE(untouched.prevTimeRangeSet->isEmpty());
    EXPECT_FALSE(untouched.noteSet()->altered);
    EXPECT_TRUE(QFile::exists(dir.filePath("b.txt")));
}
