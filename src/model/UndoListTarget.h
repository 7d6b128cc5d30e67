#pragma once
// What the undo stacks act on: the playlist's list and the table selection. The main controller
// implements it; the model only knows this interface.

#include "model/PlaylistEntry.h"

#include <set>
#include <vector>

class UndoListTarget {
public:
    virtual ~UndoListTarget() = default;

    // The list becomes `list`, the table selects `selection`; the first selected row (when
    // there is one) becomes the only selected row and its entry the current one.
    virtual void applyListState(const std::vector<PlaylistEntryPtr>& list,
                                const std::set<int>& selection) = 0;
    // The Undo and Redo menu items follow the stacks (enabled state and titles).
    virtual void undoMenuChanged() = 0;
};
