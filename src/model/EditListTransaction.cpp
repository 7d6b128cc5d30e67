#include "model/EditListTransaction.h"

#include "model/UndoListTarget.h"

#include <algorithm>

EditListTransaction::EditListTransaction(QString name, std::vector<PlaylistEntryPtr> initialList,
                                         std::set<int> initialSelection,
                                         std::vector<PlaylistEntryPtr> endingList,
                                         std::set<int> endingSelection)
    : _name(std::move(name)), _initialList(std::move(initialList)),
      _initialSelection(std::move(initialSelection)), _endingList(std::move(endingList)),
      _endingSelection(std::move(endingSelection)) {}

EditListTransaction EditListTransaction::remove(const std::vector<PlaylistEntryPtr>& list,
                                                const std::set<int>& selection) {
    std::vector<PlaylistEntryPtr> remaining;
    remaining.reserve(list.size());
    for (int i = 0; i < int(list.size()); ++i)
        if (!selection.contains(i))
            remaining.push_back(list[i]);
    std::set<int> ending;
    if (!remaining.empty() && !selection.empty())
        ending.insert(std::min(*selection.begin(), int(remaining.size()) - 1));
    return EditListTransaction(QStringLiteral("remove"), list, selection, std::move(remaining),
                               std::move(ending));
}

void EditListTransaction::applyInitial(UndoListTarget& target) const {
    target.applyListState(_initialList, _initialSelection);
}

void EditListTransaction::applyEnding(UndoListTarget& target) const {
    target.applyListState(_endingList, _endingSelection);
}
