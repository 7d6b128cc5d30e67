#include "model/PlaylistEntry.h"

#include "ModelTestSupport.h"
#include "testaudio/TestAudio.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
std::vector<TimeRange> ranges(std::initializer_list<TimeRange> list) {
    return list;
}

} // namespace

TEST(PlaylistEntry, BeginPlayedRangeJoinsOrInserts) {
    PlaylistEntry entry(QUrl("file:///music/a.mp3"), 100);
    entry.beginPlayedRange(3);
    ASSERT_TRUE(entry.currentTimeRangeSet);
    EXPECT_EQ(entry.cachedTimeRangeIndex, 0);
    EXPECT_EQ(entry.currentTimeRangeSet->ranges(), ranges({{3, 3}}));

    entry.currentTimeRangeSet = std::make_shared<TimeRangeSet>(ranges({{0, 10}, {20, 30}}));
    entry.beginPlayedRange(12);
    EXPECT_EQ(entry.cachedTimeRangeIndex, 1);
    EXPECT_EQ(entry.currentTimeRangeSet->ranges(), ranges({{0, 10}, {12, 12}, {20, 30}}));

    entry.currentTimeRangeSet = std::make_shared<TimeRangeSet>(ranges({{0, 10}, {20, 30}}));
    entry.beginPlayedRange(25);
    EXPECT_EQ(entry.cachedTimeRangeIndex, 1);
    entry.beginPlayedRange(10);
    EXPECT_EQ(entry.cachedTimeRangeIndex, 0);
    EXPECT_EQ(entry.currentTimeRangeSet->ranges(), ranges({{0, 10}, {20, 30}}));
}

TEST(PlaylistEntry, PlayedFractionAndNextZeroUseTheDuration) {
    PlaylistEntry entry(QUrl("file:///music/a.mp3"), 180);
    EXPECT_DOUBLE_EQ(entry.playedFraction(TimeRangeSet(ranges({{0, 45}, {100, 145}}))), 0.5);
    entry.addZero(12);
    EXPECT_EQ(entry.nextZero(12.5), 180);
    EXPECT_EQ(entry, PlaylistEntry(QUrl("file:///music/a.mp3"), 20)) << "equal by URL";
    PlaylistEntry tiny(QUrl("file:///music/b.mp3"), 0.001);
    EXPECT_EQ(tiny.playedFraction(TimeRangeSet(ranges({{0, 1}}))), 0.0);
    // An unreadable file has no duration: nothing counts as played.
    PlaylistEntry missing(QUrl("file:///nonexistent/c.mp3"));
    EXPECT_EQ(missing.playedFraction(TimeRangeSet(ranges({{0, 1}}))), 0.0);
    EXPECT_FALSE(missing.duration());
}

TEST(PlaylistEntry, CreateMeasuresRealAudioAndRefusesOtherFiles) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    testaudio::Spec spec;
    spec.seconds = 2.5;
    ASSERT_TRUE(testaudio::write(spec, testaudio::Container::Wav, wav));
    const auto entry = PlaylistEntry::create(QUrl::fromLocalFile(wav));
    ASSERT_TRUE(entry);
    ASSERT_TRUE(entry->_cachedDuration);
    EXPECT_NEAR(*entry->_cachedDuration, 2.5, 1e-6);

    const QString text = writeFile(dir.filePath("notes.mp3"), "this is not audio\n");
    EXPECT_FALSE(PlaylistEntry::create(QUrl::fromLocalFile(text)));
    EXPECT_FALSE(PlaylistEntry::create(QUrl::fromLocalFile(dir.filePath("missing.mp3"))));
}

TEST(PlaylistEntry, BookmarkIsTheAbsolutePathAndResolvesWhileTheFileExists) {
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("moved ä.mp3"), {});

    EXPECT_EQ(PlaylistEntry::bookmarkFor(QUrl::fromLocalFile(path)), path.toUtf8());
    EXPECT_FALSE(PlaylistEntry::bookmarkFor(QUrl("https://example.org/a.mp3")));

    PlaylistEntry entry(QUrl::fromLocalFile(dir.filePath("old.mp3")), 10);
    EXPECT_FALSE(entry.resolveBookmark());
    entry.storedBookmark = path.toUtf8();
    EXPECT_TRUE(entry.resolveBookmark());
    EXPECT_EQ(entry._url, QUrl::fromLocalFile(path));

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(entry.resolveBookmark());
    EXPECT_FALSE(entry.storedBookmark);
    EXPECT_EQ(entry._url, QUrl::fromLocalFile(path));
}

TEST(PlaylistEntry, RelocateMovesURLBookmarkAndNotes) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("new"));
    writeFile(dir.filePath("new/a.txt"), "/x/a.mp3\n 0:10 from the new folder\n");

    PlaylistEntry entry(QUrl::fromLocalFile(dir.filePath("old/a.mp3")), 10);
    entry.storedBookmark = dir.filePath("old/a.mp3").toUtf8();
    EXPECT_TRUE(entry.noteSet()->notes.empty());
    entry.relocate(QUrl::fromLocalFile(dir.filePath("new/a.mp3")));
    EXPECT_EQ(entry.storedBookmark, dir.filePath("new/a.mp3").toUtf8());
    ASSERT_EQ(entry.noteSet()->notes.size(), 1u);
    EXPECT_EQ(entry.noteSet()->notes[0]->text, "from the new folder");
}
