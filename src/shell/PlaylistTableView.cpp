#include "shell/PlaylistTableView.h"

#include "shell/EntryCommands.h"
#include "shell/PlayedColumnDelegate.h"
#include "shell/PlaylistTableModel.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>

namespace {
// Large enough to read the titles from a few metres away on a laptop screen.
constexpr double readableFontScale = 1.45;
} // namespace

PlaylistTableView::PlaylistTableView(QWidget* parent) : QTableView(parent) {
    QFont readable = font();
    readable.setPointSizeF(readable.pointSizeF() * readableFontScale);
    setFont(readable);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegateForColumn(PlaylistTableModel::PlayedColumn, new PlayedColumnDelegate(this));
    fitRowHeight();
}

void PlaylistTableView::setCommands(EntryCommands* entryCommands, QMenu* tagMenu) {
    commands = entryCommands;
    setModel(commands->model());
    setSelectionModel(commands->selectionModel());
    addActions({commands->actions().copyContextItems, commands->actions().copyReport,
                commands->actions().removeSelectedItems});

    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(PlaylistTableModel::TitleColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(PlaylistTableModel::DirectoryColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(PlaylistTableModel::PlayedColumn, QHeaderView::Fixed);
    header->resizeSection(PlaylistTableModel::DirectoryColumn,
                          fontMetrics().averageCharWidth() * 18);
    header->resizeSection(PlaylistTableModel::PlayedColumn, fontMetrics().averageCharWidth() * 10);
    connect(header, &QHeaderView::sectionClicked, commands,
            [this](int column) { commands->sortByColumn(PlaylistTableModel::identifier(column)); });
    connect(this, &QAbstractItemView::doubleClicked, commands,
            [this](const QModelIndex& index) { commands->tableDoubleClicked(index.row()); });

    delete contextMenu;
    contextMenu = new QMenu(this);
    contextMenu->addActions(commands->entryMenuActions());
    if (tagMenu) {
        contextMenu->addSeparator();
        contextMenu->addMenu(tagMenu);
    }
}

void PlaylistTableView::fitRowHeight() {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);
}

void PlaylistTableView::dragMoveEvent(QDragMoveEvent* event) {
    QTableView::dragMoveEvent(event);
    if (!event->isAccepted())
        return;
    // Files and URLs are copied into the list; rows of this table move within it.
    const std::optional<Qt::DropAction> action = PlaylistTableModel::dropAction(*event->mimeData());
    if (action && (event->possibleActions() & *action)) {
        event->setDropAction(*action);
        event->accept();
    }
}

void PlaylistTableView::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenu)
        contextMenu->popup(event->globalPos());
}
