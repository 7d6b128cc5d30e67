#pragma once
// An edit of the entry list (remove, add entries, move): the list and the selected rows before
// and after. The lists hold the entry objects themselves, so undoing a removal brings back the
// same entries with all their data.

#include "model/PlaylistEntry.h"
#include "model/UndoRedoTransaction.h"

#include <set>
#include <vector>

class EditListTransaction : public UndoRedoTransaction {
public:
    EditListTransaction(QString name, std::vector<PlaylistEntryPtr> initialList,
                        std::set<int> initialSelection, std::vector<PlaylistEntryPtr> endingList,
                        std::set<int> endingSelection);

    // The "remove" edit of the selected rows: afterwards the row at the first selected index
    // (or the new last row) is selected, nothing when the list became empty.
    static EditListTransaction remove(const std::vector<PlaylistEntryPtr>& list,
                                      const std::set<int>& selection);

    QString name() const override { return _name; }
    void applyInitial(UndoListTarget& target) const override;
    void applyEnding(UndoListTarget& target) const override;

    const std::vector<PlaylistEntryPtr>& initialList() const { return _initialList; }
    const std::set<int>& initialSelection() const { return _initialSelection; }
    const std::vector<PlaylistEntryPtr>& endingList() const { return _endingList; }
    const std::set<int>& endingSelection() const { return _endingSelection; }

private:
    QString _name;
    std::vector<PlaylistEntryPtr> _initialList;
    std::set<int> _initialSelection;
    std::vector<PlaylistEntryPtr> _endingList;
    std::set<int> _endingSelection;
};
