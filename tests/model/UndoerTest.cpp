#include "model/EditListTransaction.h"
#include "model/Playlist.h"
#include "model/UndoListTarget.h"

#include <gtest/gtest.h>

namespace {
class RecordingTarget : public UndoListTarget {
public:
    void applyListState(const std::vector<PlaylistEntryPtr>& list,
                        const std::set<int>& selection) override {
        lastList = list;
        lastSelection = selection;
    }
    void undoMenuChanged() override { ++menuUpdates; }

    std::vector<PlaylistEntryPtr> lastList;
    std::set<int> lastSelection;
    int menuUpdates = 0;
};

std::vector<PlaylistEntryPtr> entries(int count) {
    std::vector<PlaylistEntryPtr> list;
    for (int i = 0; i < count; ++i)
        list.push_back(std::make_shared<PlaylistEntry>(
            QUrl::fromLocalFile(QStringLiteral("/m/%1.mp3").arg(i)), 100.0));
    return list;
}

std::shared_ptr<const EditListTransaction> removal(const Playlist& playlist, std::set<int> rows) {
    return std::make_shared<EditListTransaction>(
        EditListTransaction::remove(playlist.allEntries, rows));
}
} // namespace

TEST(Undoer, RemoveUndoRedoRestoresTheSameEntries) {
    Playlist playlist;
    RecordingTarget target;
    playlist.undoer.setTarget(&target);
    playlist.allEntries = entries(4);
    const std::vector<PlaylistEntryPtr> original = playlist.allEntries;
    original[1]->zeros = {12.0};
    // Empty stacks change nothing.
    playlist.undoer.undo();
    playlist.undoer.redo();
    EXPECT_FALSE(playlist.dirty);
    EXPECT_EQ(target.menuUpdates, 0);
    EXPECT_EQ(playlist.undoer.undoTitle(), "Undo");

    playlist.undoer.registerTransaction(removal(playlist, {1, 2}));
    EXPECT_EQ(playlist.allEntries, (std::vector<PlaylistEntryPtr>{original[0], original[3]}));
    EXPECT_EQ(target.lastSelection, (std::set<int>{1}));
    EXPECT_TRUE(playlist.dirty);
    EXPECT_EQ(playlist.undoer.undoTitle(), "Undo remove");
    EXPECT_EQ(target.menuUpdates, 1);

    playlist.dirty = false;
    playlist.undoer.undo();
    EXPECT_EQ(playlist.allEntries, original);
    EXPECT_EQ(playlist.allEntries[1]->zeros, (std::vector<double>{12.0}));
    EXPECT_EQ(target.lastList, original);
    EXPECT_EQ(target.lastSelection, (std::set<int>{1, 2}));
    EXPECT_TRUE(playlist.dirty);
    EXPECT_EQ(playlist.undoer.redoTitle(), "Redo remove");
    EXPECT_EQ(playlist.undoer.undoTitle(), "Undo");

    playlist.undoer.redo();
    EXPECT_EQ(playlist.allEntries.size(), 2u);
    EXPECT_FALSE(playlist.undoer.canRedo());
    EXPECT_EQ(target.menuUpdates, 3);
}

TEST(Undoer, NewEditEmptiesTheRedoStack) {
    Playlist playlist;
    playlist.allEntries = entries(3);
    playlist.undoer.registerTransaction(removal(playlist, {0}));
    playlist.undoer.undo();
    ASSERT_TRUE(playlist.undoer.canRedo());
    auto add = std::make_shared<EditListTransaction>("add entries", playlist.allEntries,
                                                     std::set<int>{}, entries(5), std::set<int>{4});
    playlist.undoer.registerTransaction(add);
    EXPECT_FALSE(playlist.undoer.canRedo());
    EXPECT_EQ(playlist.undoer.redoTitle(), "Redo");
    EXPECT_EQ(playlist.undoer.undoTitle(), "Undo add entries");
    EXPECT_EQ(playlist.allEntries.size(), 5u);
}

TEST(Undoer, RemoveSelectsTheRowThatTookThePlaceOfTheFirstRemoved) {
    const std::vector<PlaylistEntryPtr> list = entries(4);
    const std::pair<std::set<int>, std::set<int>> removals[] = {
        {{3}, {2}}, {{2, 3}, {1}}, {{0, 2}, {0}}, {{0, 1, 2, 3}, {}}, {{}, {}}};
    for (const auto& [rows, selected] : removals)
        EXPECT_EQ(EditListTransaction::remove(list, rows).endingSelection(), selected);
    EXPECT_TRUE(EditListTransaction::remove(list, {0, 1, 2, 3}).endingList().empty());
    EXPECT_EQ(EditListTransaction::remove(list, {}).endingList(), list);
}
