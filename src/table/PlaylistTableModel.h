#pragma once
// The playlist table's rows and cells: the playlist's visible entries in six columns (a file
// that cannot be played is dimmed, with a warning sign and its reason as tool tip), the drag
// data of rows, and what a drop onto the table holds. Decisions about drops are the entry
// commands'; this model only reads the playlist and the pasteboard.

#include "model/PlaylistEntry.h"

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <set>
#include <vector>

class EntryCommandHost;

class PlaylistTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        DirectoryColumn,
        TitleColumn,
        DurationColumn,
        PlayedColumn,
        AgeColumn,
        CheckedColumn,
        ColumnCount
    };
    // The played fraction (0 ... 1) of the "PlayedColumn", as a double.
    static constexpr int PlayedFractionRole = Qt::UserRole + 1;
    // Dragged rows: their numbers as decimal text, one a line.
    static const QString rowsMimeType;

    explicit PlaylistTableModel(EntryCommandHost& host, QObject* parent = nullptr);

    // "DirectoryColumn", "TitleColumn", ...; empty for any other column.
    static QString identifier(int column);

    // Reads the visible rows from the playlist again.
    void reload();
    // Repaints the "PlayedColumn" cell of one row only (the tick runs this while playing).
    void refreshPlayed(int row);
    PlaylistEntryPtr entryAt(int row) const;

    // The file name without a trailing ".mp3".
    static QString titleOf(const PlaylistEntry& entry);
    // Days since the last play with the locale's digit grouping; empty when never played.
    static QString ageText(const PlaylistEntry& entry);

    // What a drop holds: rows of this table, a list of local files, or one URL.
    static std::set<int> draggedRows(const QMimeData& data);
    static std::vector<QUrl> droppedFiles(const QMimeData& data);
    static std::optional<QUrl> droppedURL(const QMimeData& data);
    // Files and URLs are copied in; rows are moved; none for anything else.
    static std::optional<Qt::DropAction> dropAction(const QMimeData& data);

    // Accepts a drop before `row` (the row count: at the end).
    std::function<bool(const QMimeData& data, int row)> dropHandler;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    QString cellText(const PlaylistEntryPtr& entry, int column) const;

    EntryCommandHost& host;
    // The visible entries as of the last reload; the table changes only through reload().
    std::vector<PlaylistEntryPtr> rows;
};
