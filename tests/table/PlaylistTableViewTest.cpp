#include "table/PlaylistTableView.h"

#include "EntryCommandsFakes.h"
#include "table/PlaylistTableModel.h"
#include "table/TagMenu.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PlaylistTableViewTest : public ::testing::Test {
protected:
    PlaylistTableViewTest() {
        host.commands = &commands;
        for (const char* name : {"c.mp3", "a.mp3", "d.mp3", "b.mp3", "e.mp3"})
            host.session->allEntries.push_back(entryFor(QStringLiteral("/m/") + name));
        view.setCommands(&commands, &tags);
        commands.reloadTable();
        view.resize(900, 500);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QPoint centre(int row, int column) const {
        return view.visualRect(commands.model()->index(row, column)).center();
    }

    FakeEntryCommandHost host;
    FakePanels panels;
    EntryCommands commands{host, panels};
    TagMenu tags;
    PlaylistTableView view;
};

TEST_F(PlaylistTableViewTest, ClicksSelectDoubleClicksCheckAndHeadersSort) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre(2, 1));
    EXPECT_EQ(host.calls.last(), "assignEntry d.mp3");
    EXPECT_EQ(commands.selectedRows(), std::set<int>{2});

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre(2, 1));
    EXPECT_TRUE(host.session->allEntries[2]->isCheckmarked);

    QHeaderView* header = view.horizontalHeader();
    const QPoint title(header->sectionViewportPosition(PlaylistTableModel::TitleColumn) + 5,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(fileNames(host.session->allEntries),
              QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
    // The current entry keeps its selected row after the sort.
    EXPECT_EQ(commands.selectedRows(), std::set<int>{3});
}

TEST_F(PlaylistTableViewTest, AnEmptyTableSaysHowToBegin) {
    // Text pixels across the middle of the empty viewport (otherwise one plain colour).
    const auto inkInTheMiddle = [this] {
        const QImage shown = view.viewport()->grab().toImage();
        const int y0 = shown.height() / 2 - 20;
        int ink = 0;
        for (int y = y0; y < y0 + 40; ++y)
            for (int x = 0; x < shown.width(); ++x)
                ink += shown.pixel(x, y) != shown.pixel(0, 0) ? 1 : 0;
        return ink;
    };
    host.session->allEntries.clear();
    commands.reloadTable();
    EXPECT_GT(inkInTheMiddle(), 100);
}

TEST_F(PlaylistTableViewTest, ContextMenuHoldsTheEntryCommandsAndTheTags) {
    QMenu* menu = view.findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(menu);
    for (QAction* action :
         {commands.actions().removeSelectedItems, commands.actions().entryMoved, tags.menuAction()})
        EXPECT_TRUE(menu->actions().contains(action)) << action->text().toStdString();

    ASSERT_EQ(tags.actions().size(), 8);
    QSignalSpy chosen(&tags, &TagMenu::tagChosen);
    QAction* first = tags.actions().first();
    EXPECT_FALSE(first->icon().isNull());
    first->trigger();
    EXPECT_FALSE(first->isChecked()) << "a tag is a command, not a state of the menu";
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toString(), TagMenu::titles().first());
}

} // namespace
