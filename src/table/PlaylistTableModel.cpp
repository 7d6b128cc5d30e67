#include "table/PlaylistTableModel.h"

#include "model/Playlist.h"
#include "model/TimeString.h"
#include "platform/SymbolImage.h"
#include "table/EntryCommandHost.h"

#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QPalette>

namespace {

// Header titles for people; the identifiers stay the program's names of the columns.
QString headerTitle(int column) {
    switch (column) {
    case PlaylistTableModel::DirectoryColumn:
        return QObject::tr("Folder");
    case PlaylistTableModel::TitleColumn:
        return QObject::tr("Title");
    case PlaylistTableModel::DurationColumn:
        return QObject::tr("Length");
    case PlaylistTableModel::PlayedColumn:
        return QObject::tr("Played");
    case PlaylistTableModel::AgeColumn:
        return QObject::tr("Age");
    case PlaylistTableModel::CheckedColumn:
        return QStringLiteral("\u2713");
    default:
        return {};
    }
}
// Numbers line up on the right, the checkmark sits in the middle of its narrow column.
int alignment(int column) {
    switch (column) {
    case PlaylistTableModel::DurationColumn:
    case PlaylistTableModel::AgeColumn:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case PlaylistTableModel::CheckedColumn:
        return int(Qt::AlignCenter);
    default:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

// Known once the duration has been asked for, which measures a file only the first time (and
// a file that failed is not measured again), so painting stays cheap.
std::optional<QString> playProblem(PlaylistEntry& entry) {
    entry.duration();
    return entry.playProblem;
}

const QIcon& warningIcon() {
    static const QIcon icon = symbolIcon(QStringLiteral("exclamationmark.triangle"));
    return icon;
}
} // namespace

const QString PlaylistTableModel::rowsMimeType = QStringLiteral("application/x-varlin-rows");

PlaylistTableModel::PlaylistTableModel(EntryCommandHost& host, QObject* parent)
    : QAbstractTableModel(parent), host(host), rows(host.playlist().entries()) {}

QString PlaylistTableModel::identifier(int column) {
    switch (column) {
    case DirectoryColumn:
        return QStringLiteral("DirectoryColumn");
    case TitleColumn:
        return QStringLiteral("TitleColumn");
    case DurationColumn:
        return QStringLiteral("DurationColumn");
    case PlayedColumn:
        return QStringLiteral("PlayedColumn");
    case AgeColumn:
        return QStringLiteral("AgeColumn");
    case CheckedColumn:
        return QStringLiteral("CheckedColumn");
    default:
        return {};
    }
}

void PlaylistTableModel::reload() {
    beginResetModel();
    rows = host.playlist().entries();
    endResetModel();
}

void PlaylistTableModel::refreshPlayed(int row) {
    if (row < 0 || row >= int(rows.size()))
        return;
    const QModelIndex cell = index(row, PlayedColumn);
    emit dataChanged(cell, cell, {PlayedFractionRole});
}

PlaylistEntryPtr PlaylistTableModel::entryAt(int row) const {
    return row >= 0 && row < int(rows.size()) ? rows[size_t(row)] : nullptr;
}

QString PlaylistTableModel::titleOf(const PlaylistEntry& entry) {
    QString name = entry._url.fileName();
    if (name.endsWith(QLatin1String(".mp3")))
        name.chop(4);
    return name;
}

QString PlaylistTableModel::ageText(const PlaylistEntry& entry) {
    const std::optional<qint64> days = entry.daysSinceLastPlayed();
    return days ? QLocale().toString(*days) : QString();
}

std::set<int> PlaylistTableModel::draggedRows(const QMimeData& data) {
    std::set<int> dragged;
    if (!data.hasFormat(rowsMimeType))
        return dragged;
    const QStringList lines = QString::fromUtf8(data.data(rowsMimeType)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        bool ok = false;
        const int row = line.trimmed().toInt(&ok);
        if (ok && row >= 0)
            dragged.insert(row);
    }
    return dragged;
}

std::vector<QUrl> PlaylistTableModel::droppedFiles(const QMimeData& data) {
    std::vector<QUrl> files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files.push_back(url);
    return files;
}

std::optional<QUrl> PlaylistTableModel::droppedURL(const QMimeData& data) {
    for (const QUrl& url : data.urls())
        if (url.isValid() && !url.isLocalFile())
            return url;
    if (!data.hasText())
        return std::nullopt;
    const QUrl url(data.text().trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<Qt::DropAction> PlaylistTableModel::dropAction(const QMimeData& data) {
    if (!droppedFiles(data).empty() || droppedURL(data))
        return Qt::CopyAction;
    if (!draggedRows(data).empty())
        return Qt::MoveAction;
    return std::nullopt;
}

int PlaylistTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

int PlaylistTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlaylistTableModel::data(const QModelIndex& index, int role) const {
    const PlaylistEntryPtr entry = entryAt(index.row());
    if (!entry)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == PlayedColumn ? QVariant()
                                              : QVariant(cellText(entry, index.column()));
    case Qt::ToolTipRole:
        if (const std::optional<QString> problem = playProblem(*entry))
            return *problem;
        return index.column() == TitleColumn || index.column() == DirectoryColumn
                   ? QVariant(entry->_url.toLocalFile())
                   : QVariant();
    case Qt::DecorationRole:
        return index.column() == TitleColumn && playProblem(*entry) ? QVariant(warningIcon())
                                                                    : QVariant();
    case Qt::ForegroundRole:
        return playProblem(*entry)
                   ? QVariant(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text))
                   : QVariant();
    case PlayedFractionRole:
        if (index.column() != PlayedColumn)
            return {};
        if (!entry->currentTimeRangeSet)
            entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
        return entry->playedFraction(*entry->currentTimeRangeSet);
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    default:
        return {};
    }
}

QString PlaylistTableModel::cellText(const PlaylistEntryPtr& entry, int column) const {
    switch (column) {
    case DirectoryColumn:
        return host.playlist().folderText(*entry);
    case TitleColumn:
        return titleOf(*entry) + entry->tags.value_or(QString());
    case DurationColumn: {
        const std::optional<double> length = entry->duration();
        return length ? timeString(0, 2, *length) : QStringLiteral("?");
    }
    case AgeColumn:
        return ageText(*entry);
    case CheckedColumn:
        return entry->isCheckmarked ? QStringLiteral("\u2713") : QStringLiteral(" ");
    default:
        return {};
    }
}

QVariant PlaylistTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return headerTitle(section);
    if (role == Qt::TextAlignmentRole)
        return alignment(section);
    return {};
}

Qt::ItemFlags PlaylistTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

QStringList PlaylistTableModel::mimeTypes() const {
    return {rowsMimeType, QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData* PlaylistTableModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> dragged;
    for (const QModelIndex& index : indexes)
        if (entryAt(index.row()))
            dragged.insert(index.row());
    QStringList lines;
    for (int row : dragged)
        lines << QString::number(row);
    auto* data = new QMimeData;
    data->setData(rowsMimeType, lines.join(QLatin1Char('\n')).toUtf8());
    return data;
}

Qt::DropActions PlaylistTableModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions PlaylistTableModel::supportedDragActions() const {
    return Qt::MoveAction;
}

bool PlaylistTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                         const QModelIndex& parent) const {
    // Only between rows: that gives a row and no parent (row -1 below the last row); a drop onto
    // a row gives that row as the parent.
    return data && !parent.isValid() && row >= -1 && dropAction(*data).has_value();
}

bool PlaylistTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                      int column, const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent) || !dropHandler)
        return false;
    return dropHandler(*data, row < 0 ? rowCount() : row);
}
