#include "model/Playlist.h"

#include "model/EditListTransaction.h"

#include <gtest/gtest.h>

namespace {
std::vector<PlaylistEntryPtr> entries(std::initializer_list<const char*> paths) {
    std::vector<PlaylistEntryPtr> result;
    for (const char* path : paths)
        result.push_back(std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(path), 100.0));
    return result;
}
} // namespace

// The filter, the folder column's prefixes and moving checked entries to the top are tested
// through the entry commands or have no test of their own.
TEST(Playlist, AfterLoadClearsThisRunAndAssignsTheSavedItemWhenItExists) {
    for (qint64 index : {qint64(1), qint64(-1), qint64(2)}) {
        Playlist playlist;
        playlist.allEntries = entries({"/m/a.mp3", "/m/b.mp3"});
        playlist.allEntries[0]->currentTimeRangeSet =
            std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 5}});
        playlist._currentItem = index;
        playlist.afterLoad();
        EXPECT_EQ(playlist.assignedEntry, index == 1 ? playlist.allEntries[1] : nullptr) << index;
        EXPECT_TRUE(playlist.allEntries[0]->currentTimeRangeSet->isEmpty());
    }
}

// Whole folder names and the question asked are tested through the entry commands.
TEST(Playlist, RelocateMovesSideDocumentsTooAndCountsTheEntriesMoved) {
    Playlist playlist;
    playlist.allEntries = entries({"/a/b/one.mp3", "/a/bc/two.mp3", "/x/four.mp3"});
    playlist.allEntries[2]->sideDocuments.push_back(
        std::make_shared<SideDocument>(QUrl::fromLocalFile("/a/b/four.pdf"), "pdf"));
    EXPECT_EQ(playlist.relocate("/a/b/", "/new/place"), 1);
    EXPECT_EQ(playlist.allEntries[0]->_url.toLocalFile(), "/new/place/one.mp3");
    EXPECT_EQ(playlist.allEntries[2]->sideDocuments[0]->url.toLocalFile(), "/new/place/four.pdf");
    EXPECT_TRUE(playlist.dirty);
    playlist.dirty = false;
    EXPECT_EQ(playlist.relocate("/a/b", "/c"), 0);
    EXPECT_FALSE(playlist.dirty);
}

// The undo stacks on their own; the Edit menu's titles, redo and the rows selected after a removal
// are tested through the main view's controller and the entry commands. An undone edit that left
// the session clean would be lost at the next quit without a question.
TEST(Playlist, UndoRestoresTheSameEntriesAndMarksTheSessionAndANewEditEmptiesTheRedoStack) {
    Playlist playlist;
    playlist.allEntries = entries({"/m/0.mp3", "/m/1.mp3", "/m/2.mp3", "/m/3.mp3"});
    const std::vector<PlaylistEntryPtr> original = playlist.allEntries;
    playlist.undoer.registerTransaction(std::make_shared<EditListTransaction>(
        EditListTransaction::remove(playlist.allEntries, {1, 2})));
    EXPECT_EQ(playlist.allEntries, (std::vector<PlaylistEntryPtr>{original[0], original[3]}));
    playlist.dirty = false;
    playlist.undoer.undo();
    EXPECT_EQ(playlist.allEntries, original);
    EXPECT_TRUE(playlist.dirty);

    playlist.undoer.registerTransaction(std::make_shared<EditListTransaction>(
        "add entries", playlist.allEntries, std::set<int>{},
        entries({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3", "/m/e.mp3"}), std::set<int>{4}));
    EXPECT_FALSE(playlist.undoer.canRedo());
    EXPECT_EQ(playlist.allEntries.size(), 5u);
}
