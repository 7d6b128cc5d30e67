// The playlist table's commands: the current-row rule, moves and removals as undoable edits past
// hidden entries, drops and the clear commands.

#include "table/EntryCommands.h"

#include "TableFixture.h"
#include "testaudio/TestAudio.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class EntryCommandsTest : public TableFixture {
protected:
    // A selection the user makes in the table.
    void userSelects(const std::set<int>& rows) {
        QItemSelection selection;
        for (int row : rows)
            selection.select(model().index(row, 0),
                             model().index(row, PlaylistTableModel::ColumnCount - 1));
        commands.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    // Drops `data` above `row` and waits (on the event loop, not the clock) for the adding.
    bool drop(const QMimeData& data, int row) {
        QSignalSpy finished(&commands, &EntryCommands::addingFinished);
        const bool taken = commands.acceptDrop(data, row);
        EXPECT_TRUE(!commands.isAdding() || finished.wait(30000));
        return taken;
    }
};

TEST_F(EntryCommandsTest, SelectionMakesTheFirstSelectedRowCurrentOnlyWhileNotPlaying) {
    setEntries({"Walter.mp3", "tango.mp3", "slow WALTZ.mp3", "swing.mp3", "Waltz2.MP3"});
    userSelects({2, 1});
    EXPECT_EQ(host.calls, QStringList{"assignEntry tango.mp3"});

    // With a filter, rows and commands count the matching entries only.
    host.session->filterText = QStringLiteral("walt");
    commands.reloadTable();
    ASSERT_EQ(model().rowCount(), 3);
    userSelects({2});
    EXPECT_EQ(host.calls.last(), "assignEntry Waltz2.MP3");

    host.calls.clear();
    host.playing = true;
    userSelects({0});
    EXPECT_TRUE(host.calls.isEmpty());
    // The program's own reload selects exactly the current row and decides nothing.
    host.session->assignedEntry = entry(4);
    commands.reloadTable();
    EXPECT_EQ(commands.selectedRows(), std::set<int>{2});
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(EntryCommandsTest, DraggedRowsMoveAndRemovedRowsGoAsUndoableEditsPastHiddenEntries) {
    setEntries({"0.mp3", "1.mp3", "2.mp3", "3.mp3", "4.mp3"});
    std::unique_ptr<QMimeData> data(model().mimeData({model().index(0, 1), model().index(1, 1)}));
    ASSERT_TRUE(model().dropMimeData(data.get(), Qt::MoveAction, 3, 0, QModelIndex()));
    const QStringList moved = {"2.mp3", "0.mp3", "1.mp3", "3.mp3", "4.mp3"};
    EXPECT_EQ(order(), moved);
    EXPECT_EQ(commands.selectedRows(), std::set<int>{1});

    // Onto one of the dragged rows, and past the end.
    commands.moveRows({1, 2}, 2);
    EXPECT_EQ(order(), moved);
    commands.moveRows({0}, 5);
    EXPECT_EQ(order(), QStringList({"0.mp3", "1.mp3", "3.mp3", "4.mp3", "2.mp3"}));
    EXPECT_EQ(commands.selectedRows(), std::set<int>{4});
    host.session->undoer.undo();
    EXPECT_EQ(order(), moved);

    // Removing selects the row in the same place; undoing brings back the same entry.
    const PlaylistEntryPtr last = entry(4);
    userSelects({4});
    commands.actions().removeSelectedItems->trigger();
    EXPECT_EQ(order(), QStringList({"2.mp3", "0.mp3", "1.mp3", "3.mp3"}));
    EXPECT_EQ(commands.selectedRows(), std::set<int>{3});
    host.session->undoer.undo();
    EXPECT_EQ(entry(4), last);
    userSelects({0, 1, 2, 3, 4});
    commands.removeSelectedItems();
    EXPECT_EQ(model().rowCount(), 0);

    // With a filter the hidden entries keep their places.
    host.session->filterText = QStringLiteral("a");
    setEntries({"a1.mp3", "x.mp3", "a2.mp3", "y.mp3", "a3.mp3"});
    commands.moveRows({2}, 0);
    EXPECT_EQ(order(), QStringList({"a3.mp3", "a1.mp3", "x.mp3", "a2.mp3", "y.mp3"}));
    EXPECT_EQ(commands.selectedRows(), std::set<int>{0});
}

TEST_F(EntryCommandsTest, DroppedFilesAndFoldersAreAddedAndASessionOpensAfterThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder/sub"));
    testaudio::Spec tone;
    tone.seconds = 0.5;
    tone.channels = 1;
    for (const char* name :
         {"folder/b.wav", "folder/a.wav", "folder/sub/c.wav", "one.wav", "two.wav"})
        ASSERT_TRUE(testaudio::write(tone, testaudio::Container::Wav, dir.filePath(name)));
    QFile(dir.filePath("folder/cover.txt")).open(QIODevice::WriteOnly);
    const auto urls = [&](const QStringList& names) {
        QList<QUrl> result;
        for (const QString& name : names)
            result << QUrl::fromLocalFile(dir.filePath(name));
        return result;
    };
    setEntries({"x.mp3", "y.mp3"});

    QMimeData data;
    data.setUrls(urls({"folder", "evening.varlin", "one.wav"}));
    EXPECT_TRUE(drop(data, 1));
    // What follows the session in the drop is left out.
    EXPECT_EQ(order(), QStringList({"x.mp3", "a.wav", "b.wav", "c.wav", "y.mp3"}));
    EXPECT_EQ(host.calls.last(), "openDroppedSession evening.varlin");
    EXPECT_EQ(host.entriesWhenOpening, 5u);
    EXPECT_NEAR(*entry(1)->duration(), 0.5, 0.01);
    host.session->undoer.undo();
    EXPECT_EQ(order(), QStringList({"x.mp3", "y.mp3"}));

    QMimeData files;
    files.setUrls(urls({"one.wav"}));
    EXPECT_TRUE(drop(files, 2));
    EXPECT_EQ(order(), QStringList({"x.mp3", "y.mp3", "one.wav"}));
    EXPECT_EQ(commands.selectedRows(), std::set<int>{2});
    EXPECT_EQ(host.session->assignedEntry, entry(2));

    // During a dance the added file waits as the next entry; the playing one stays current.
    host.playing = true;
    const PlaylistEntryPtr playing = entry(2);
    files.setUrls(urls({"two.wav"}));
    EXPECT_TRUE(drop(files, 0));
    EXPECT_EQ(order(), QStringList({"two.wav", "x.mp3", "y.mp3", "one.wav"}));
    EXPECT_EQ(host.session->assignedEntry, playing);
    EXPECT_EQ(commands.selectedRows(), std::set<int>{0});

    // A file that is no audio adds nothing and leaves no edit behind.
    const size_t steps = host.session->undoer.undoStack().size();
    ASSERT_TRUE(QFile::copy(dir.filePath("folder/cover.txt"), dir.filePath("junk.mp3")));
    files.setUrls(urls({"junk.mp3"}));
    EXPECT_TRUE(drop(files, 0));
    EXPECT_EQ(host.session->undoer.undoStack().size(), steps);
}

// Which plays count as this evening's is the entry's own test; here, what each command clears.
TEST_F(EntryCommandsTest, ClearCommandsEmptyTimesZerosAndThisEveningsPlay) {
    StoppedClock clock(QDateTime(QDate(2026, 3, 14), QTime(22, 0)));
    setEntries({"recent.mp3", "earlier.mp3", "never.mp3"});
    entry(0)->playedDates = {clock.now.addDays(-7), clock.now.addSecs(-3LL * 3600)};
    for (const PlaylistEntryPtr& e : host.session->allEntries) {
        e->beginPlayedRange(10.0);
        e->currentTimeRangeSet->extendRange(0, 40.0);
        e->zeros = {5.0, 30.0};
    }
    userSelects({0, 1, 2});
    commands.entryClearPlayed();
    EXPECT_EQ(entry(0)->playedDates, std::vector<QDateTime>{clock.now.addDays(-7)});
    EXPECT_TRUE(host.session->dirty);
    // The command left the current row alone selected: the next ones act on it only.
    EXPECT_EQ(commands.selectedRows(), std::set<int>{0});
    commands.entryClearTimes();
    EXPECT_TRUE(entry(0)->currentTimeRangeSet->isEmpty());
    EXPECT_FALSE(entry(1)->currentTimeRangeSet->isEmpty());
    EXPECT_EQ(host.calls.last(), "entryMarksChanged recent.mp3");
    commands.entryClearZeros();
    EXPECT_TRUE(entry(0)->zeros.empty());
}

} // namespace
