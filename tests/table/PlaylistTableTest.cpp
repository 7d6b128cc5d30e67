// The playlist table as the user sees it: what each cell shows, and the tick's repaint of one
// cell.

#include "TableFixture.h"
#include "table/PlayedColumnDelegate.h"
#include "table/PlaylistTableView.h"
#include "table/TagMenu.h"

#include <QApplication>
#include <QTest>

namespace {

using PlaylistTableModelTest = TableFixture;

// Most cells are the entry's fields as text; the folder under the session's prefix and the heard
// fraction of the bar are worked out.
TEST_F(PlaylistTableModelTest, CellsShowTheFolderUnderThePrefixAndTheHeardFraction) {
    host.session->_directoryPrefix = QStringLiteral("/music");
    setEntries({"/music/Swedish/Hambo.mp3"});
    entry(0)->_cachedDuration = 185.9;
    entry(0)->currentTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0.0, 60.0}, {100.0, 130.0}});
    commands.reloadTable();
    using M = PlaylistTableModel;
    EXPECT_EQ(model().index(0, M::DirectoryColumn).data().toString(), "Swedish/");
    EXPECT_EQ(model().index(0, M::DurationColumn).data().toString(), " 3:05");
    EXPECT_NEAR(model().index(0, M::PlayedColumn).data(M::PlayedFractionRole).toDouble(),
                90.0 / 185.9, 1e-9);
}

class CountingDelegate : public PlayedColumnDelegate {
public:
    using PlayedColumnDelegate::PlayedColumnDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        ++paints;
        PlayedColumnDelegate::paint(painter, option, index);
    }
    mutable int paints = 0;
};

class PlaylistTableViewTest : public TableFixture {
protected:
    PlaylistTableViewTest() {
        setEntries({"c.mp3", "a.mp3", "d.mp3", "b.mp3", "e.mp3"});
        view.setCommands(&commands, &tags);
        view.resize(900, 500);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    TagMenu tags;
    PlaylistTableView view;
};

TEST_F(PlaylistTableViewTest, TheTickRepaintsOnePlayedCellAndOnlyWhenItsBarGrew) {
    auto* counting = new CountingDelegate(&view);
    for (int column = 0; column < PlaylistTableModel::ColumnCount; ++column)
        view.setItemDelegateForColumn(column, counting);
    view.viewport()->repaint();
    ASSERT_GE(counting->paints, 5 * PlaylistTableModel::ColumnCount);
    // Let the delayed layout of the columns run out first; then nothing is left to paint.
    for (int round = 0; round < 10; ++round)
        QApplication::processEvents();
    counting->paints = 0;
    // Rows that are not there have no cell to refresh.
    for (const int row : {-1, 5, 2})
        model().refreshPlayed(row);
    QApplication::processEvents();
    EXPECT_EQ(counting->paints, 0) << "the bar is as long as when it was painted";

    // A third of the track heard: the bar grows, and its cell alone is painted again.
    entry(2)->currentTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0.0, 60.0}});
    model().refreshPlayed(2);
    QApplication::processEvents();
    EXPECT_EQ(counting->paints, 1);
}

} // namespace
