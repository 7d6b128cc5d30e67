#include "table/EntryCommands.h"

#include "model/EditListTransaction.h"
#include "model/Playlist.h"
#include "platform/Desktop.h"
#include "platform/Diagnostics.h"
#include "platform/audio/AudioDecoder.h"
#include "table/EntryCommandHost.h"
#include "platform/Panels.h"
#include "table/PlaylistTableModel.h"

#include <QAction>
#include <QClipboard>
#include <QDirIterator>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHash>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QMimeData>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>

namespace {
const QString sessionSuffix = QStringLiteral(".varlin");

// Plain code-point order: QString's own comparison orders UTF-16 units, which puts characters
// beyond the first plane before U+E000 ... U+FFFF.
void sortByText(std::vector<PlaylistEntryPtr>& list,
                const std::function<QString(const PlaylistEntry&)>& text) {
    std::vector<std::pair<QList<uint>, PlaylistEntryPtr>> keyed;
    keyed.reserve(list.size());
    for (const PlaylistEntryPtr& entry : list)
        keyed.emplace_back(text(*entry).toUcs4(), entry);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::transform(keyed.begin(), keyed.end(), list.begin(),
                   [](const auto& pair) { return pair.second; });
}

// Most recently played first; tracks never played go last.
void sortByAge(std::vector<PlaylistEntryPtr>& list) {
    std::vector<std::pair<std::optional<qint64>, PlaylistEntryPtr>> keyed;
    keyed.reserve(list.size());
    for (const PlaylistEntryPtr& entry : list)
        keyed.emplace_back(entry->secondsSinceLastPlayed(), entry);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first && (!b.first || *a.first < *b.first);
    });
    std::transform(keyed.begin(), keyed.end(), list.begin(),
                   [](const auto& pair) { return pair.second; });
}

// Every regular file below a folder, in path order; a file stands for itself.
std::vector<QUrl> expandFolders(const std::vector<QUrl>& urls) {
    std::vector<QUrl> files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isDir()) {
            files.push_back(url);
            continue;
        }
        QStringList found;
        QDirIterator it(url.toLocalFile(), QDir::Files | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        std::vector<std::pair<QList<uint>, QString>> keyed;
        for (const QString& path : found)
            keyed.emplace_back(path.toUcs4(), path);
        std::sort(keyed.begin(), keyed.end());
        for (const auto& [key, path] : keyed)
            files.push_back(QUrl::fromLocalFile(path));
    }
    return files;
}

std::optional<double> measureDuration(const QUrl& url) {
    return url.isLocalFile() ? audioFileDuration(url.toLocalFile()) : std::nullopt;
}

QHash<QUrl, PlaylistEntryPtr> entriesByURL(const Playlist& playlist) {
    QHash<QUrl, PlaylistEntryPtr> byURL;
    for (const PlaylistEntryPtr& entry : playlist.allEntries)
        byURL.insert(entry->_url, entry);
    return byURL;
}

// The folder a path sits in, as the start of the paths inside it.
QString folderStem(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
} // namespace

// An "add entries" whose new files are being measured on the thread pool.
struct EntryCommands::PendingAdd {
    Playlist* playlist;
    std::vector<QUrl> files;
    PlaylistEntryPtr target;
    std::function<void(std::optional<int>)> done;
    std::vector<QUrl> measured;
    QFutureWatcher<std::optional<double>> watcher;
};

EntryCommands::EntryCommands(EntryCommandHost& host, Panels& panels, QObject* parent)
    : QObject(parent), host(host), panels(panels), _model(new PlaylistTableModel(host, this)),
      _selection(new QItemSelectionModel(_model, this)) {
    _model->dropHandler = [this](const QMimeData& data, int row) { return acceptDrop(data, row); };
    connect(_selection, &QItemSelectionModel::selectionChanged, this,
            &EntryCommands::selectionDidChange);
    connect(_selection, &QItemSelectionModel::selectionChanged, this,
            &EntryCommands::updateActions);
    connect(_model, &QAbstractItemModel::modelReset, this, &EntryCommands::updateActions);

    _actions.entryViewInFinder =
        makeAction(tr("Show in File Manager"), &EntryCommands::entryViewInFinder);
    _actions.entryMoved = makeAction(tr("File Moved..."), &EntryCommands::entryMoved);
    _actions.entryViewNotes = makeAction(tr("Edit Notes File"), &EntryCommands::entryViewNotes);
    _actions.entryClearTimes =
        makeAction(tr("Clear Played Times"), &EntryCommands::entryClearTimes);
    _actions.entryClearZeros = makeAction(tr("Clear Zeros"), &EntryCommands::entryClearZeros);
    _actions.entryClearPlayed =
        makeAction(tr("Clear Last Played"), &EntryCommands::entryClearPlayed);
    _actions.entryClearAll = makeAction(tr("Clear All"), &EntryCommands::entryClearAll);
    _actions.entryPlayedToday = makeAction(tr("Played Today"), &EntryCommands::entryPlayedToday);
    _actions.copyContextItems = makeAction(tr("Copy"), &EntryCommands::copyContextItems);
    _actions.copyReport = makeAction(tr("Copy Report"), &EntryCommands::copyReport);
    _actions.removeSelectedItems = makeAction(tr("Remove"), &EntryCommands::removeSelectedItems);
    _actions.copyContextItems->setShortcut(QKeySequence::Copy);
    _actions.copyReport->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    _actions.removeSelectedItems->setShortcuts(
        {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    // The shortcuts belong to the table; elsewhere (the note field) Delete and Ctrl+C edit text.
    for (QAction* action :
         {_actions.copyContextItems, _actions.copyReport, _actions.removeSelectedItems})
        action->setShortcutContext(Qt::WidgetShortcut);

    auto separator = [this] {
        auto* action = new QAction(this);
        action->setSeparator(true);
        return action;
    };
    _entryMenuActions = {_actions.entryViewInFinder,
                         _actions.entryViewNotes,
                         _actions.entryMoved,
                         separator(),
                         _actions.entryPlayedToday,
                         _actions.entryClearPlayed,
                         _actions.entryClearTimes,
                         _actions.entryClearZeros,
                         _actions.entryClearAll,
                         separator(),
                         _actions.copyContextItems,
                         _actions.copyReport,
                         separator(),
                         _actions.removeSelectedItems};
    updateActions();
}

void EntryCommands::updateActions() {
    const bool selected = _selection->hasSelection();
    for (QAction* action :
         {_actions.entryViewInFinder, _actions.entryClearTimes, _actions.entryClearZeros,
          _actions.entryClearPlayed, _actions.entryClearAll, _actions.entryPlayedToday,
          _actions.copyContextItems, _actions.copyReport, _actions.removeSelectedItems})
        action->setEnabled(selected);
    const bool current = host.playlist().assignedEntry != nullptr;
    _actions.entryMoved->setEnabled(current);
    _actions.entryViewNotes->setEnabled(current);
    emit hasSelectionChanged(selected);
}

EntryCommands::~EntryCommands() {
    cancelAdding();
}

QAction* EntryCommands::makeAction(const QString& title, void (EntryCommands::*command)()) {
    auto* action = new QAction(title, this);
    connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    return action;
}

void EntryCommands::reloadTable() {
    // Like a table that reloads its cells: the selected row numbers outlive the reload.
    const std::set<int> selected = selectedRows();
    _model->reload();
    const Playlist& playlist = host.playlist();
    const std::optional<int> current = playlist.indexOfEntry(playlist.assignedEntry);
    selectRows(current ? std::set<int>{*current} : selected);
}

std::set<int> EntryCommands::selectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : _selection->selectedIndexes())
        rows.insert(index.row());
    return rows;
}

void EntryCommands::selectRows(const std::set<int>& rows) {
    QItemSelection selection;
    for (int row : rows)
        if (_model->entryAt(row))
            selection.select(_model->index(row, 0), _model->index(row, _model->columnCount() - 1));
    selectingRows = true;
    _selection->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty() && _model->entryAt(*rows.begin()))
        _selection->setCurrentIndex(_model->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    selectingRows = false;
}

void EntryCommands::selectionDidChange() {
    if (selectingRows || host.isPlaying())
        return;
    const std::set<int> rows = selectedRows();
    if (rows.empty())
        return;
    if (PlaylistEntryPtr entry = _model->entryAt(*rows.begin()))
        host.assignEntry(entry);
}

std::vector<PlaylistEntryPtr> EntryCommands::selectedEntries() const {
    std::vector<PlaylistEntryPtr> entries;
    for (int row : selectedRows())
        if (PlaylistEntryPtr entry = _model->entryAt(row))
            entries.push_back(entry);
    return entries;
}

void EntryCommands::tableDoubleClicked(int row) {
    const PlaylistEntryPtr clicked = _model->entryAt(row);
    if (!clicked)
        return;
    const bool checked = !clicked->isCheckmarked;
    for (const PlaylistEntryPtr& entry : selectedEntries())
        entry->isCheckmarked = checked;
    // The checkmark is saved with the session.
    host.playlist().dirty = true;
    reloadTable();
    selectRows({row});
    host.setCurrentEntry(row);
}

void EntryCommands::sortByColumn(const QString& identifier) {
    Playlist& playlist = host.playlist();
    const int column = [&] {
        for (int c = 0; c < PlaylistTableModel::ColumnCount; ++c)
            if (PlaylistTableModel::identifier(c) == identifier)
                return c;
        return -1;
    }();
    switch (column) {
    case PlaylistTableModel::TitleColumn:
        sortByText(playlist.allEntries, [](const PlaylistEntry& e) { return e._url.fileName(); });
        break;
    case PlaylistTableModel::DirectoryColumn:
        sortByText(playlist.allEntries, [](const PlaylistEntry& e) { return e._url.path(); });
        break;
    case PlaylistTableModel::AgeColumn:
        sortByAge(playlist.allEntries);
        break;
    case PlaylistTableModel::CheckedColumn:
        host.clearSearch();
        playlist.moveCheckedToTop();
        break;
    default:
        return;
    }
    // The order is saved with the session; a sort left unsaved would be lost at quit.
    playlist.dirty = true;
    reloadTable();
}

bool EntryCommands::acceptDrop(const QMimeData& data, int row) {
    const std::set<int> rows = PlaylistTableModel::draggedRows(data);
    if (!rows.empty()) {
        moveRows(rows, row);
        return true;
    }
    auto showAdded = [this](std::optional<int> first) {
        if (!first)
            return;
        selectRows({*first});
        // A drop during a dance waits as the next entry, as a selection does.
        if (!host.isPlaying())
            host.setCurrentEntry(*first);
    };
    std::vector<QUrl> files = PlaylistTableModel::droppedFiles(data);
    if (files.empty()) {
        if (std::optional<QUrl> url = PlaylistTableModel::droppedURL(data))
            addFiles({*url}, row, showAdded);
        return false;
    }
    auto session = std::find_if(files.begin(), files.end(), [](const QUrl& url) {
        return url.toLocalFile().endsWith(sessionSuffix);
    });
    if (session == files.end()) {
        addFiles(files, row, showAdded);
        return true;
    }
    const QUrl sessionURL = *session;
    files.erase(session, files.end());
    addFiles(files, row,
             [this, sessionURL](std::optional<int>) { host.openDroppedSession(sessionURL); });
    return true;
}

void EntryCommands::registerEdit(const QString& name, std::vector<PlaylistEntryPtr> endingList,
                                 std::set<int> endingSelection) {
    Playlist& playlist = host.playlist();
    playlist.undoer.registerTransaction(
        std::make_shared<EditListTransaction>(name, playlist.allEntries, selectedRows(),
                                              std::move(endingList), std::move(endingSelection)));
}

void EntryCommands::moveRows(const std::set<int>& rows, int row) {
    const Playlist& playlist = host.playlist();
    const std::vector<PlaylistEntryPtr> shown = playlist.entries();
    std::vector<PlaylistEntryPtr> moved;
    for (int i : rows)
        if (i >= 0 && i < int(shown.size()))
            moved.push_back(shown[size_t(i)]);
    if (moved.empty())
        return;
    // The moved rows go before the first row at or after the drop row that stays in place. With
    // a filter the hidden entries keep their places around it.
    PlaylistEntryPtr anchor;
    for (int i = std::max(row, 0); i < int(shown.size()) && !anchor; ++i)
        if (!rows.contains(i))
            anchor = shown[size_t(i)];
    std::vector<PlaylistEntryPtr> list;
    for (const PlaylistEntryPtr& entry : playlist.allEntries) {
        if (entry == anchor)
            list.insert(list.end(), moved.begin(), moved.end());
        if (std::find(moved.begin(), moved.end(), entry) == moved.end())
            list.push_back(entry);
    }
    if (!anchor)
        list.insert(list.end(), moved.begin(), moved.end());
    const std::optional<int> first = shownRow(list, moved.front());
    registerEdit(QStringLiteral("move"), std::move(list),
                 first ? std::set<int>{*first} : std::set<int>{});
}

void EntryCommands::addFiles(const std::vector<QUrl>& urls, int row,
                             std::function<void(std::optional<int>)> done) {
    auto job = std::make_unique<PendingAdd>();
    job->playlist = &host.playlist();
    job->files = expandFolders(urls);
    job->target = _model->entryAt(row);
    job->done = std::move(done);
    adds.push_back(std::move(job));
    if (adds.size() == 1)
        startAdding();
}

void EntryCommands::startAdding() {
    PendingAdd& job = *adds.front();
    // Tracks already in the list move instead; only new files need measuring.
    const QHash<QUrl, PlaylistEntryPtr> known = entriesByURL(*job.playlist);
    for (const QUrl& url : job.files)
        if (!known.contains(url))
            job.measured.push_back(url);
    const int total = int(job.measured.size());
    connect(&job.watcher, &QFutureWatcherBase::progressValueChanged, this,
            [this, total](int done) { emit addingProgress(done, total); });
    connect(&job.watcher, &QFutureWatcherBase::finished, this, &EntryCommands::finishAdding);
    job.watcher.setFuture(QtConcurrent::mapped(job.measured, measureDuration));
}

void EntryCommands::finishAdding() {
    std::unique_ptr<PendingAdd> job = std::move(adds.front());
    adds.pop_front();
    if (!adds.empty())
        startAdding();
    // A job started for a session that has been replaced since has nothing left to add to.
    if (job->playlist == &host.playlist())
        applyAdding(*job);
    emit addingFinished();
}

void EntryCommands::applyAdding(const PendingAdd& job) {
    Playlist& playlist = host.playlist();
    QHash<QUrl, std::optional<double>> lengths;
    for (int i = 0; i < int(job.measured.size()); ++i)
        lengths.insert(job.measured[size_t(i)], job.watcher.resultAt(i));
    const QHash<QUrl, PlaylistEntryPtr> known = entriesByURL(playlist);
    const std::vector<PlaylistEntryPtr> initialList = playlist.allEntries;
    const std::vector<PlaylistEntryPtr> selected = selectedEntries();
    std::vector<PlaylistEntryPtr> added;
    for (const QUrl& url : job.files) {
        PlaylistEntryPtr entry = known.value(url);
        if (!entry) {
            const std::optional<double> length = lengths.value(url);
            if (!length)
                continue;
            entry = std::make_shared<PlaylistEntry>(url, length);
        }
        playlist.insertEntry(entry, job.target);
        added.push_back(entry);
    }
    std::optional<int> first;
    if (!added.empty()) {
        std::vector<PlaylistEntryPtr> endingList = std::move(playlist.allEntries);
        playlist.allEntries = initialList;
        first = shownRow(endingList, added.front());
        // The selection stays with the entries it was on, so the edit itself changes no
        // current entry; the caller decides that.
        std::set<int> endingSelection;
        for (const PlaylistEntryPtr& entry : selected)
            if (std::optional<int> row = shownRow(endingList, entry))
                endingSelection.insert(*row);
        registerEdit(QStringLiteral("add entries"), std::move(endingList),
                     std::move(endingSelection));
    }
    if (job.done)
        job.done(first);
}

std::optional<int> EntryCommands::shownRow(const std::vector<PlaylistEntryPtr>& list,
                                           const PlaylistEntryPtr& entry) const {
    const Playlist& playlist = host.playlist();
    if (!playlist.matchesFilter(*entry))
        return std::nullopt;
    int row = 0;
    for (const PlaylistEntryPtr& e : list) {
        if (e == entry)
            return row;
        row += playlist.matchesFilter(*e) ? 1 : 0;
    }
    return std::nullopt;
}

void EntryCommands::cancelAdding() {
    for (const std::unique_ptr<PendingAdd>& job : adds) {
        job->watcher.disconnect(this);
        job->watcher.cancel();
        job->watcher.waitForFinished();
    }
    adds.clear();
}

void EntryCommands::removeSelectedItems() {
    const std::set<int> rows = selectedRows();
    const std::vector<PlaylistEntryPtr> removed = selectedEntries();
    if (removed.empty())
        return;
    const Playlist& playlist = host.playlist();
    std::vector<PlaylistEntryPtr> list;
    std::copy_if(playlist.allEntries.begin(), playlist.allEntries.end(), std::back_inserter(list),
                 [&](const PlaylistEntryPtr& entry) {
                     return std::find(removed.begin(), removed.end(), entry) == removed.end();
                 });
    const int shownAfter = _model->rowCount() - int(removed.size());
    registerEdit(QStringLiteral("remove"), std::move(list),
                 shownAfter > 0 ? std::set<int>{std::min(*rows.begin(), shownAfter - 1)}
                                : std::set<int>{});
}

void EntryCommands::forEachSelected(const std::function<void(const PlaylistEntryPtr&)>& change) {
    for (const PlaylistEntryPtr& entry : selectedEntries())
        change(entry);
    host.playlist().dirty = true;
    reloadTable();
}

void EntryCommands::entryViewInFinder() {
    for (const PlaylistEntryPtr& entry : selectedEntries())
        Desktop::revealFile(entry->_url);
}

void EntryCommands::entryMoved() {
    const PlaylistEntryPtr entry = host.playlist().assignedEntry;
    if (!entry)
        return;
    panels.chooseMovedFile([this, entry](std::optional<QUrl> picked) {
        if (!picked || !picked->isLocalFile() || !isInSession(entry))
            return;
        const QString oldFolder = QFileInfo(entry->_url.toLocalFile()).absolutePath();
        const QString newFolder = QFileInfo(picked->toLocalFile()).absolutePath();
        entry->relocate(*picked);
        host.playlist().dirty = true;
        reloadTable();
        host.assignEntry(entry);
        if (oldFolder == newFolder)
            return;
        const auto& all = host.playlist().allEntries;
        const int others =
            int(std::count_if(all.begin(), all.end(), [&](const PlaylistEntryPtr& e) {
                return e != entry && e->_url.isLocalFile() &&
                       e->_url.toLocalFile().startsWith(folderStem(oldFolder));
            }));
        if (others == 0)
            return;
        const QString question = others == 1
                                     ? QStringLiteral("Move other entry?")
                                     : QStringLiteral("Move all %1 other entries?").arg(others);
        panels.confirm(question, QStringLiteral("OK"), QStringLiteral("Cancel"),
                       [this, entry, oldFolder, newFolder](bool ok) {
                           if (!ok || !isInSession(entry))
                               return;
                           const QUrl moved = entry->_url;
                           host.playlist().relocate(oldFolder, newFolder);
                           // The entry itself is already where it belongs; a new folder inside
                           // the old one must not move it a second time.
                           if (entry->_url != moved)
                               entry->relocate(moved);
                           reloadTable();
                       });
    });
}

bool EntryCommands::isInSession(const PlaylistEntryPtr& entry) const {
    const auto& all = host.playlist().allEntries;
    return std::find(all.begin(), all.end(), entry) != all.end();
}

void EntryCommands::entryViewNotes() {
    const PlaylistEntryPtr entry = host.playlist().assignedEntry;
    if (!entry)
        return;
    const std::shared_ptr<TextNoteSet>& notes = entry->noteSet();
    // The editor gets a file to open, and one that holds the notes as they are now.
    if ((notes->altered || !QFileInfo::exists(notes->textURL.toLocalFile())) && !notes->save())
        return;
    if (!Desktop::openFile(notes->textURL))
        printLine(QStringLiteral("can't open %1").arg(notes->textURL.toLocalFile()));
}

namespace {
void clearTimes(EntryCommandHost& host, const PlaylistEntryPtr& entry) {
    entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    entry->cachedTimeRangeIndex.reset();
    host.entryMarksChanged(entry);
}

void clearZeros(EntryCommandHost& host, const PlaylistEntryPtr& entry) {
    entry->zeros.clear();
    host.entryMarksChanged(entry);
}
} // namespace

void EntryCommands::entryClearTimes() {
    forEachSelected([this](const PlaylistEntryPtr& entry) { clearTimes(host, entry); });
}

void EntryCommands::entryClearZeros() {
    forEachSelected([this](const PlaylistEntryPtr& entry) { clearZeros(host, entry); });
}

void EntryCommands::entryClearPlayed() {
    forEachSelected([](const PlaylistEntryPtr& entry) { entry->clearRecentPlay(); });
}

void EntryCommands::entryClearAll() {
    forEachSelected([this](const PlaylistEntryPtr& entry) {
        clearTimes(host, entry);
        clearZeros(host, entry);
        entry->clearRecentPlay();
    });
}

void EntryCommands::entryPlayedToday() {
    forEachSelected([](const PlaylistEntryPtr& entry) { entry->markPlayedToday(); });
}

void EntryCommands::copyLines(const std::function<QString(const PlaylistEntry&)>& line) {
    QStringList lines;
    for (int row : selectedRows()) {
        const PlaylistEntryPtr entry = _model->entryAt(row);
        lines << (entry ? line(*entry) : QString());
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void EntryCommands::copyContextItems() {
    copyLines(&PlaylistTableModel::titleOf);
}

void EntryCommands::copyReport() {
    copyLines([](const PlaylistEntry& entry) {
        return PlaylistTableModel::ageText(entry) + PlaylistTableModel::titleOf(entry);
    });
}

void EntryCommands::actionTagEntry(const QString& tag) {
    forEachSelected([&tag](const PlaylistEntryPtr& entry) {
        const QString old = entry->tags.value_or(QString());
        QString toggled;
        for (QChar c : old)
            if (!tag.contains(c))
                toggled += c;
        for (QChar c : tag)
            if (!old.contains(c))
                toggled += c;
        entry->tags = toggled.isEmpty() ? std::nullopt : std::optional<QString>(toggled);
    });
    host.updateDisplays();
}
