#include "table/PlaylistTableModel.h"

#include "EntryCommandsFakes.h"

#include <QLocale>
#include <QMimeData>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class PlaylistTableModelTest : public ::testing::Test {
protected:
    PlaylistTableModelTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~PlaylistTableModelTest() override { QLocale::setDefault(QLocale::c()); }

    QString cell(int row, int column) const { return model.index(row, column).data().toString(); }

    FakeEntryCommandHost host;
    PlaylistTableModel model{host};
};

TEST_F(PlaylistTableModelTest, CellsShowWhatEachColumnSays) {
    StoppedClock clock(QDateTime(QDate(2026, 3, 14), QTime(12, 0)));
    host.session->_directoryPrefix = QStringLiteral("/music");
    const PlaylistEntryPtr hambo = entryFor("/music/Swedish/Hambo.mp3", 185.9);
    hambo->tags = QStringLiteral("RB");
    hambo->isCheckmarked = true;
    hambo->playedDates = {clock.now.addDays(-1234)};
    hambo->currentTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0.0, 60.0}, {100.0, 130.0}});
    const auto unknown = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/nowhere/Reel.MP3"));
    host.session->allEntries = {hambo, unknown};
    model.reload();

    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(cell(0, PlaylistTableModel::DirectoryColumn), "Swedish/");
    EXPECT_EQ(cell(0, PlaylistTableModel::TitleColumn), "HamboRB");
    EXPECT_EQ(cell(0, PlaylistTableModel::DurationColumn), " 3:05");
    EXPECT_NEAR(model.index(0, PlaylistTableModel::PlayedColumn)
                    .data(PlaylistTableModel::PlayedFractionRole)
                    .toDouble(),
                90.0 / 185.9, 1e-9);
    EXPECT_EQ(cell(0, PlaylistTableModel::AgeColumn), "1,234");
    EXPECT_EQ(cell(0, PlaylistTableModel::CheckedColumn), QStringLiteral("\u2713"));

    EXPECT_EQ(cell(1, PlaylistTableModel::DirectoryColumn), "/nowhere/");
    EXPECT_EQ(cell(1, PlaylistTableModel::TitleColumn), "Reel.MP3");
    EXPECT_EQ(cell(1, PlaylistTableModel::DurationColumn), "?");
    EXPECT_EQ(cell(1, PlaylistTableModel::AgeColumn), "");
    EXPECT_EQ(cell(1, PlaylistTableModel::CheckedColumn), " ");

    // Past the end there is nothing to show, and no cell to refresh. The tick of the music
    // changes one cell only, so the table repaints no more than that.
    EXPECT_FALSE(model.index(2, 0).data().isValid());
    EXPECT_FALSE(model.entryAt(-1));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.refreshPlayed(2);
    model.refreshPlayed(-1);
    model.refreshPlayed(1);
    ASSERT_EQ(changed.size(), 1);
    const QModelIndex played = model.index(1, PlaylistTableModel::PlayedColumn);
    EXPECT_EQ(changed[0][0].toModelIndex(), played);
    EXPECT_EQ(changed[0][1].toModelIndex(), played);
}

TEST_F(PlaylistTableModelTest, DragDataAndDropsAreReadAsTheTableExpects) {
    host.session->allEntries = {entryFor("/m/a.mp3"), entryFor("/m/b.mp3"), entryFor("/m/c.mp3")};
    model.reload();
    std::unique_ptr<QMimeData> rows(model.mimeData(
        {model.index(2, 0), model.index(0, 1), model.index(2, 4), model.index(7, 0)}));
    EXPECT_EQ(rows->data(PlaylistTableModel::rowsMimeType), "0\n2");
    EXPECT_EQ(PlaylistTableModel::draggedRows(*rows), std::set<int>({0, 2}));
    EXPECT_EQ(PlaylistTableModel::dropAction(*rows), Qt::MoveAction);

    QMimeData files;
    files.setUrls({QUrl("https://example.org/x.mp3"), QUrl::fromLocalFile("/m/new.mp3")});
    EXPECT_EQ(PlaylistTableModel::droppedFiles(files),
              std::vector<QUrl>{QUrl::fromLocalFile("/m/new.mp3")});
    EXPECT_EQ(PlaylistTableModel::dropAction(files), Qt::CopyAction);

    QMimeData link;
    link.setText(QStringLiteral(" https://example.org/tune.mp3\n"));
    EXPECT_EQ(PlaylistTableModel::droppedURL(link), QUrl("https://example.org/tune.mp3"));

    QMimeData words;
    words.setText(QStringLiteral("just some words"));
    EXPECT_FALSE(PlaylistTableModel::droppedURL(words));
    EXPECT_FALSE(PlaylistTableModel::dropAction(words));
    EXPECT_FALSE(model.canDropMimeData(&words, Qt::CopyAction, 0, 0, QModelIndex()));

    // Only between rows; below the last row means at the end.
    std::vector<int> handled;
    model.dropHandler = [&](const QMimeData&, int row) {
        handled.push_back(row);
        return true;
    };
    EXPECT_FALSE(model.dropMimeData(rows.get(), Qt::MoveAction, -1, -1, model.index(1, 0)));
    EXPECT_TRUE(model.dropMimeData(rows.get(), Qt::MoveAction, 1, 0, QModelIndex()));
    EXPECT_TRUE(model.dropMimeData(&files, Qt::CopyAction, -1, -1, QModelIndex()));
    EXPECT_EQ(handled, std::vector<int>({1, 3}));
}

} // namespace
