#pragma once
// The undo and redo stacks of one playlist's list edits (no size limit). Applying a step sets
// the playlist's list and marks it dirty, then lets the target (the main controller) select rows
// and refresh; the target also hears when the stacks change, to update the Edit menu.

#include "model/UndoRedoTransaction.h"

#include <QString>
#include <memory>
#include <vector>

class Playlist;
class UndoListTarget;

class Undoer {
public:
    using TransactionPtr = std::shared_ptr<const UndoRedoTransaction>;

    explicit Undoer(Playlist& playlist) : _playlist(playlist) {}
    Undoer(const Undoer&) = delete;
    Undoer& operator=(const Undoer&) = delete;

    // The controller that selects rows and updates the menu; may be null (no view).
    void setTarget(UndoListTarget* target) { _target = target; }

    // Applies the edit's ending state and makes it the step to undo; the redo stack empties.
    void registerTransaction(TransactionPtr transaction);
    void undo();
    void redo();

    bool canUndo() const { return !_undoStack.empty(); }
    bool canRedo() const { return !_redoStack.empty(); }
    QString undoTitle() const;
    QString redoTitle() const;

    const std::vector<TransactionPtr>& undoStack() const { return _undoStack; }
    const std::vector<TransactionPtr>& redoStack() const { return _redoStack; }

private:
    class Applier;
    // Moves the top of `from` to `to`, applying the state `apply` selects.
    void step(std::vector<TransactionPtr>& from, std::vector<TransactionPtr>& to,
              void (UndoRedoTransaction::*apply)(UndoListTarget&) const);
    void menuChanged();

    Playlist& _playlist;
    UndoListTarget* _target = nullptr;
    std::vector<TransactionPtr> _undoStack;
    std::vector<TransactionPtr> _redoStack;
};
