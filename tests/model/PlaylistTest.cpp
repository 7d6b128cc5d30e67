#include "model/Playlist.h"

#include "testaudio/TestAudio.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
PlaylistEntryPtr entry(const QString& path, bool checked = false) {
    auto e = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 100.0);
    e->isCheckmarked = checked;
    return e;
}

std::vector<QString> names(const std::vector<PlaylistEntryPtr>& list) {
    std::vector<QString> result;
    for (const PlaylistEntryPtr& e : list)
        result.push_back(e->_url.fileName());
    return result;
}

// Restores the default preference source when a test replaced it.
struct PrefixSourceGuard {
    ~PrefixSourceGuard() { Playlist::setPreferredPrefixSource({}); }
};
} // namespace

TEST(Playlist, FilterMatchesFileNamesWithoutLowerCaseMp3Suffix) {
    Playlist playlist;
    playlist.allEntries = {entry("/m/ABCdef.mp3"), entry("/m/xabc.MP3"), entry("/m/song.mp3"),
                           entry("/m/song.MP3"), entry("/abc/other.mp3")};
    playlist.filterText = "abc";
    EXPECT_EQ(names(playlist.entries()), (std::vector<QString>{"ABCdef.mp3", "xabc.MP3"}));
    playlist.filterText = "mp3";
    EXPECT_EQ(names(playlist.entries()), (std::vector<QString>{"xabc.MP3", "song.MP3"}));
    playlist.filterText.clear();
    EXPECT_EQ(playlist.entries().size(), 5u);
}

TEST(Playlist, CurrentItemEntryAtAndIndexFollowTheFilter) {
    Playlist playlist;
    playlist.allEntries = {entry("/m/waltz.mp3"), entry("/m/polka.mp3"), entry("/m/tango.mp3")};
    EXPECT_FALSE(playlist.currentItem());
    playlist.assignedEntry = entry("/m/tango.mp3");
    EXPECT_EQ(playlist.currentItem(), 2);
    EXPECT_EQ(playlist.indexOfEntry(playlist.allEntries[1]), 1);
    EXPECT_FALSE(playlist.indexOfEntry(nullptr));
    EXPECT_FALSE(playlist.entryAt(3));
    EXPECT_FALSE(playlist.entryAt(-1));

    playlist.filterText = "o";
    EXPECT_EQ(playlist.currentItem(), 1);
    EXPECT_EQ(playlist.entryAt(0)->_url.fileName(), "polka.mp3");
    playlist.filterText = "waltz";
    EXPECT_FALSE(playlist.currentItem());
    EXPECT_FALSE(playlist.indexOfEntry(playlist.allEntries[2]));
}

TEST(Playlist, InsertURLMovesExistingEntriesAndAddsNewAudio) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("new.wav");
    ASSERT_TRUE(testaudio::write({}, testaudio::Container::Wav, wav));
    Playlist playlist;
    playlist.allEntries = {entry("/m/a.mp3"), entry("/m/b.mp3"), entry("/m/c.mp3")};
    const PlaylistEntryPtr c = playlist.allEntries[2];
    EXPECT_TRUE(playlist.insertURL(c->_url, playlist.allEntries[0]));
    EXPECT_EQ(names(playlist.allEntries), (std::vector<QString>{"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(playlist.allEntries[0], c) << "the same entry, not a new one";
    EXPECT_TRUE(playlist.dirty);
    // Before itself: the target is gone once the entry is taken out, so it goes to the end.
    EXPECT_TRUE(playlist.insertURL(c->_url, c));
    EXPECT_EQ(names(playlist.allEntries), (std::vector<QString>{"a.mp3", "b.mp3", "c.mp3"}));

    playlist.dirty = false;
    EXPECT_FALSE(playlist.insertURL(QUrl::fromLocalFile("/nonexistent/x.mp3"), nullptr));
    EXPECT_EQ(playlist.allEntries.size(), 3u);
    EXPECT_FALSE(playlist.dirty);

    EXPECT_TRUE(playlist.insertURL(QUrl::fromLocalFile(wav), playlist.allEntries[1]));
    EXPECT_TRUE(playlist.insertURL(QUrl::fromLocalFile(wav), nullptr)) << "moved, not added twice";
    EXPECT_EQ(names(playlist.allEntries),
              (std::vector<QString>{"a.mp3", "b.mp3", "c.mp3", "new.wav"}));
    EXPECT_TRUE(playlist.allEntries[3]->_cachedDuration);
}

TEST(Playlist, MoveCheckedToTopKeepsBothGroupsInOrder) {
    Playlist playlist;
    playlist.allEntries = {entry("/m/a.mp3"), entry("/m/B.mp3", true), entry("/m/c.mp3"),
                           entry("/m/D.mp3", true)};
    playlist.moveCheckedToTop();
    EXPECT_EQ(names(playlist.allEntries),
              (std::vector<QString>{"B.mp3", "D.mp3", "a.mp3", "c.mp3"}));
    EXPECT_TRUE(playlist.dirty);
}

TEST(Playlist, AfterLoadClearsThisRunAndAssignsTheSavedItemWhenItExists) {
    for (qint64 index : {qint64(1), qint64(-1), qint64(2)}) {
        Playlist playlist;
        playlist.allEntries = {entry("/m/a.mp3"), entry("/m/b.mp3")};
        playlist.allEntries[0]->currentTimeRangeSet =
            std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 5}});
        playlist._currentItem = index;
        playlist.afterLoad();
        EXPECT_EQ(playlist.assignedEntry, index == 1 ? playlist.allEntries[1] : nullptr) << index;
        for (const PlaylistEntryPtr& e : playlist.allEntries)
            EXPECT_TRUE(e->currentTimeRangeSet && e->currentTimeRangeSet->isEmpty());
    }
}

TEST(Playlist, DirectoryPrefixFallsBackToThePreference) {
    PrefixSourceGuard guard;
    Playlist playlist;
    const auto e = entry("/home/caller/music/waltz/a.mp3");
    EXPECT_EQ(playlist.directoryPrefix(), "");
    EXPECT_EQ(playlist.folderText(*e), "/home/caller/music/waltz/");

    QSettings().setValue("directoryPrefix", "/home/caller");
    EXPECT_EQ(playlist.directoryPrefix(), "/home/caller");
    EXPECT_EQ(playlist.folderText(*e), "music/waltz/");

    Playlist::setPreferredPrefixSource([] { return std::optional<QString>("/home/caller/music"); });
    EXPECT_EQ(playlist.folderText(*e), "waltz/");
    Playlist::setPreferredPrefixSource([] { return std::optional<QString>("/home/caller/"); });
    EXPECT_EQ(playlist.folderText(*e), "music/waltz/");
    playlist._directoryPrefix = "/home/caller/mus";
    EXPECT_EQ(playlist.directoryPrefix(), "/home/caller/mus");
    // Only a whole folder name followed by a slash is removed.
    EXPECT_EQ(playlist.folderText(*e), "/home/caller/music/waltz/");
}

TEST(Playlist, RelocateMatchesWholeFolderNames) {
    Playlist playlist;
    playlist.allEntries = {entry("/a/b/one.mp3"), entry("/a/bc/two.mp3"),
                           entry("/a/b/sub/three.mp3"), entry("/x/four.mp3")};
    playlist.allEntries[3]->sideDocuments.push_back(
        std::make_shared<SideDocument>(QUrl::fromLocalFile("/a/b/four.pdf"), "pdf"));
    EXPECT_EQ(playlist.relocate("/a/b/", "/new/place"), 2);
    EXPECT_EQ(playlist.allEntries[0]->_url.toLocalFile(), "/new/place/one.mp3");
    EXPECT_EQ(playlist.allEntries[1]->_url.toLocalFile(), "/a/bc/two.mp3");
    EXPECT_EQ(playlist.allEntries[2]->_url.toLocalFile(), "/new/place/sub/three.mp3");
    EXPECT_EQ(playlist.allEntries[3]->_url.toLocalFile(), "/x/four.mp3");
    EXPECT_EQ(playlist.allEntries[3]->sideDocuments[0]->url.toLocalFile(), "/new/place/four.pdf");
    EXPECT_TRUE(playlist.dirty);

    Playlist unchanged;
    unchanged.allEntries = {entry("/a/bc/two.mp3")};
    EXPECT_EQ(unchanged.relocate("/a/b", "/c"), 0);
    EXPECT_FALSE(unchanged.dirty);
}
