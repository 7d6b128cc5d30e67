// The undo stacks on their own; the Edit menu's titles, redo and the rows selected after a removal
// are tested through the main view's controller and the entry commands.
#include "model/EditListTransaction.h"
#include "model/Playlist.h"

#include <gtest/gtest.h>

namespace {
std::vector<PlaylistEntryPtr> entries(int count) {
    std::vector<PlaylistEntryPtr> list;
    for (int i = 0; i < count; ++i)
        list.push_back(std::make_shared<PlaylistEntry>(
            QUrl::fromLocalFile(QStringLiteral("/m/%1.mp3").arg(i)), 100.0));
    return list;
}
} // namespace

// An undone edit that left the session clean would be lost at the next quit without a question.
TEST(Undoer, UndoRestoresTheSameEntriesAndMarksTheSessionAndANewEditEmptiesTheRedoStack) {
    Playlist playlist;
    playlist.allEntries = entries(4);
    const std::vector<PlaylistEntryPtr> original = playlist.allEntries;
    playlist.undoer.registerTransaction(std::make_shared<EditListTransaction>(
        EditListTransaction::remove(playlist.allEntries, {1, 2})));
    EXPECT_EQ(playlist.allEntries, (std::vector<PlaylistEntryPtr>{original[0], original[3]}));
    playlist.dirty = false;
    playlist.undoer.undo();
    EXPECT_EQ(playlist.allEntries, original);
    EXPECT_TRUE(playlist.dirty);

    playlist.undoer.registerTransaction(std::make_shared<EditListTransaction>(
        "add entries", playlist.allEntries, std::set<int>{}, entries(5), std::set<int>{4}));
    EXPECT_FALSE(playlist.undoer.canRedo());
    EXPECT_EQ(playlist.allEntries.size(), 5u);
}
