#pragma once
// One undoable step of the entry list: what it restores when undone and when redone.

#include <QString>

class UndoListTarget;

class UndoRedoTransaction {
public:
    virtual ~UndoRedoTransaction() = default;

    // The text after "Undo " and "Redo " in the Edit menu.
    virtual QString name() const = 0;
    virtual void applyInitial(UndoListTarget& target) const = 0;
    virtual void applyEnding(UndoListTarget& target) const = 0;
};
