// Play counting and ageing of entries, with the model's clock stood still.
#include "ModelTestSupport.h"
#include "model/PlaylistEntry.h"

#include <QFile>
#include <QTemporaryDir>
#include <ctime>
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

// Berlin time for one test; the tests run with the zone unset.
struct BerlinTime {
    BerlinTime() {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~BerlinTime() {
        qunsetenv("TZ");
        tzset();
    }
};
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

TEST(History, AgeInCalendarDaysAlsoAcrossDaylightSavingChanges) {
    BerlinTime zone;
    // The zone must really apply, or the test would pass on plain 24-hour days.
    ASSERT_EQ(local(2026, 3, 29, 10, 0).offsetFromUtc(), 7200);
    ASSERT_EQ(local(2026, 3, 28, 10, 0).offsetFromUtc(), 3600);
    PlaylistEntry entry(QUrl("file:///music/a.mp3"), 100);
    FixedClock clock(local(2026, 5, 2, 0, 1));
    EXPECT_FALSE(entry.daysSinceLastPlayed());
    EXPECT_FALSE(entry.secondsSinceLastPlayed());
    // The night of 29 March 2026 has 23 hours in Berlin, that of 25 October 25 hours.
    const struct {
        QDateTime played, now;
        int days;
    } cases[] = {
        {local(2026, 5, 1, 23, 59), local(2026, 5, 2, 0, 1), 1},
        {local(2026, 5, 2, 0, 0), local(2026, 5, 2, 0, 1), 0},
        {local(2026, 5, 2, 0, 0), local(2026, 5, 12, 23, 59), 10},
        {local(2026, 3, 29, 10, 0), local(2026, 3, 30, 0, 30), 1},
        {local(2026, 3, 28, 23, 30), local(2026, 3, 29, 23, 0), 1},
        {local(2026, 10, 25, 0, 10), local(2026, 10, 25, 23, 50), 0},
        {local(2026, 10, 25, 0, 10), local(2026, 10, 26, 0, 0), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.played.toString(Qt::ISODate).toStdString());
        // The latest play counts.
        entry.playedDates = {local(2026, 1, 1, 12, 0), c.played};
        clock.set(c.now);
        EXPECT_EQ(entry.daysSinceLastPlayed(), c.days);
        EXPECT_EQ(entry.secondsSinceLastPlayed(), c.played.secsTo(c.now));
    }
}
