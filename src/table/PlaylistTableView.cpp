#include "table/PlaylistTableView.h"

#include "table/EntryCommands.h"
#include "table/PlayedColumnDelegate.h"
#include "table/PlaylistTableModel.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

namespace {
// Large enough to read the titles from a few metres away on a laptop screen.
constexpr double readableFontScale = 1.6;
} // namespace

PlaylistTableView::PlaylistTableView(QWidget* parent) : QTableView(parent) {
    QFont readable = font();
    readable.setPointSizeF(readable.pointSizeF() * readableFontScale);
    setFont(readable);
    horizontalHeader()->setFont(readable);
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

    sizeColumns();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, commands,
            [this](int column) { commands->sortByColumn(PlaylistTableModel::identifier(column)); });
    connect(this, &QAbstractItemView::doubleClicked, commands,
            [this](const QModelIndex& index) { commands->tableDoubleClicked(index.row()); });

    delete contextMenu;
    contextMenu = new QMenu(this);
    connect(contextMenu, &QMenu::aboutToShow, commands, &EntryCommands::updateActions);
    contextMenu->addActions(commands->entryMenuActions());
    if (tagMenu) {
        contextMenu->addSeparator();
        contextMenu->addMenu(tagMenu);
    }
}

void PlaylistTableView::sizeColumns() {
    // Widths from the font, not from the contents: measuring every row of a long session at
    // each change would cost more than the whole tick.
    QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics = fontMetrics();
    const int padding = metrics.averageCharWidth() * 2;
    auto fixed = [&](int column, int width) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(column, width);
    };
    fixed(PlaylistTableModel::DurationColumn,
          metrics.horizontalAdvance(QStringLiteral("888:88")) + padding);
    fixed(PlaylistTableModel::PlayedColumn, metrics.averageCharWidth() * 10);
    fixed(PlaylistTableModel::AgeColumn,
          metrics.horizontalAdvance(QStringLiteral("8,888")) + padding);
    fixed(PlaylistTableModel::CheckedColumn,
          metrics.horizontalAdvance(QStringLiteral("\u2713")) + padding);
    header->setSectionResizeMode(PlaylistTableModel::DirectoryColumn, QHeaderView::Interactive);
    header->resizeSection(PlaylistTableModel::DirectoryColumn, metrics.averageCharWidth() * 18);
    header->setSectionResizeMode(PlaylistTableModel::TitleColumn, QHeaderView::Stretch);
}

void PlaylistTableView::fitRowHeight() {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);
}

QString PlaylistTableView::placeholderText() {
    return tr("Drop music files here, or press + to add tracks");
}

void PlaylistTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (model() && model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(12, 12, -12, -12),
                     Qt::AlignCenter | Qt::TextWordWrap, placeholderText());
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
