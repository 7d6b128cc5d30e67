#pragma once
// What the playlist table does: the selection rule for the current entry, double click, sorting
// by column, drops, the undoable "add entries", "move" and "remove" edits, and the commands of
// the Entry menu (also the table's context menu). Owns the table's model and selection, so it
// runs without a view; the view only shows them and forwards the user's gestures here.

#include "model/PlaylistEntry.h"

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class EntryCommandHost;
class Panels;
class PlaylistTableModel;
class QAction;
class QItemSelectionModel;
class QMimeData;

class EntryCommands : public QObject {
    Q_OBJECT
public:
    // The commands as actions, for the Entry and Edit menus and the table's context menu.
    struct Actions {
        QAction* entryViewInFinder;
        QAction* entryMoved;
        QAction* entryViewNotes;
        QAction* entryClearTimes;
        QAction* entryClearZeros;
        QAction* entryClearPlayed;
        QAction* entryClearAll;
        QAction* entryPlayedToday;
        QAction* copyContextItems;
        QAction* copyReport;
        QAction* removeSelectedItems;
    };

    EntryCommands(EntryCommandHost& host, Panels& panels, QObject* parent = nullptr);
    ~EntryCommands() override;

    PlaylistTableModel* model() const { return _model; }
    QItemSelectionModel* selectionModel() const { return _selection; }
    const Actions& actions() const { return _actions; }
    // The entry commands in menu order, with separators between their groups.
    const QList<QAction*>& entryMenuActions() const { return _entryMenuActions; }

    // Enables the commands that have something to act on: the selected rows, or the current
    // entry (File Moved, Edit Notes File). Runs on every selection change; menus run it again
    // as they open.
    void updateActions();

    // Reloads every row, then selects exactly the current entry's row when it is shown.
    void reloadTable();
    std::set<int> selectedRows() const;
    // Selects the rows, without the selection rule running (the caller decides what follows).
    void selectRows(const std::set<int>& rows);

    void tableDoubleClicked(int row);
    // A click on the header of the column with this identifier.
    void sortByColumn(const QString& identifier);
    // A drop before `row` (the row count: at the end); false when it was not taken.
    bool acceptDrop(const QMimeData& data, int row);

    // The undoable "move": the rows go, in their order, before row `row`.
    void moveRows(const std::set<int>& rows, int row);
    // The undoable "add entries": the files (folders expanded to the files below them) go before
    // the entry at `row`, or at the end. Durations are measured off the main thread; the edit
    // and then `done` run on it when all are known.
    // `done` receives the row of the first added entry (none when nothing was added or it is
    // filtered out).
    void addFiles(const std::vector<QUrl>& urls, int row,
                  std::function<void(std::optional<int> firstRow)> done = {});
    // Forgets unfinished "add entries" edits (the playlist is about to be replaced).
    void cancelAdding();
    bool isAdding() const { return !adds.empty(); }

    void removeSelectedItems();
    void entryViewInFinder();
    void entryMoved();
    void entryViewNotes();
    void entryClearTimes();
    void entryClearZeros();
    void entryClearPlayed();
    void entryClearAll();
    void entryPlayedToday();
    void copyContextItems();
    void copyReport();
    // Toggles the characters of `tag` in the tags of every selected entry.
    void actionTagEntry(const QString& tag);

signals:
    // Sent by every updateActions: whether rows are selected (tools that act on the selection
    // follow).
    void hasSelectionChanged(bool hasSelection);
    // Files measured so far of an "add entries" in progress.
    void addingProgress(int done, int total);
    void addingFinished();

private:
    struct PendingAdd;

    void selectionDidChange();
    std::vector<PlaylistEntryPtr> selectedEntries() const;
    // Runs `change` on every selected entry, marks the session dirty and reloads.
    void forEachSelected(const std::function<void(const PlaylistEntryPtr&)>& change);
    bool isInSession(const PlaylistEntryPtr& entry) const;
    void registerEdit(const QString& name, std::vector<PlaylistEntryPtr> endingList,
                      std::set<int> endingSelection);
    void startAdding();
    void finishAdding();
    void applyAdding(const PendingAdd& job);
    // The row of the entry in `list` as the table would show it; none when filtered out.
    std::optional<int> shownRow(const std::vector<PlaylistEntryPtr>& list,
                                const PlaylistEntryPtr& entry) const;
    void copyLines(const std::function<QString(const PlaylistEntry&)>& line);
    QAction* makeAction(const QString& title, void (EntryCommands::*command)());

    EntryCommandHost& host;
    Panels& panels;
    PlaylistTableModel* _model;
    QItemSelectionModel* _selection;
    Actions _actions;
    QList<QAction*> _entryMenuActions;
    // Set while the program itself selects rows, so that only the user's selection changes
    // make an entry current.
    bool selectingRows = false;
    // "add entries" edits in the order asked for; the first is being measured.
    std::deque<std::unique_ptr<PendingAdd>> adds;
};
