// The playlist table as the user sees it: what the worked-out cells show.

#include "TableFixture.h"

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

} // namespace
