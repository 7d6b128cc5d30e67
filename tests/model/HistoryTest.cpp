// Play counting on leaving an entry, with the model's clock stood still. The exact edges of the age
// in calendar days, also across daylight-saving changes, have no test of their own.
#include "ModelTestSupport.h"
#include "model/PlaylistEntry.h"

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

TEST(History, LeavingCountsMoreThanHalfOncePerRunMergesTheRangesAndSavesAlteredNotes) {
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
