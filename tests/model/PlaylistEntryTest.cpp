#include "model/PlaylistEntry.h"

#include "ModelTestSupport.h"
#include "testaudio/TestAudio.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    EXPECT_FALSE(entry.resolveBookmark());
    entry.storedBookmark = PlaylistEntry::bookmarkFor(QUrl::fromLocalFile(path));
    EXPECT_TRUE(entry.resolveBookmark());
    EXPECT_EQ(entry._url, QUrl::fromLocalFile(path));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(entry.resolveBookmark());
    EXPECT_FALSE(entry.storedBookmark);
}
