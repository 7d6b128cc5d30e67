#include "model/Undoer.h"

#include "model/Playlist.h"
#include "model/UndoListTarget.h"

// Sets the playlist's side of a list state, then hands it on to the controller.
class Undoer::Applier : public UndoListTarget {
public:
    Applier(Playlist& playlist, UndoListTarget* next) : _playlist(playlist), _next(next) {}

    void applyListState(const std::vector<PlaylistEntryPtr>& list,
                        const std::set<int>& selection) override {
        _playlist.allEntries = list;
        _playlist.dirty = true;
        if (_next)
            _next->applyListState(list, selection);
    }
    void undoMenuChanged() override {}

private:
    Playlist& _playlist;
    UndoListTarget* _next;
};

void Undoer::registerTransaction(TransactionPtr transaction) {
    Applier applier(_playlist, _target);
    transaction->applyEnding(applier);
    _undoStack.push_back(std::move(transaction));
    _redoStack.clear();
    menuChanged();
}

void Undoer::undo() {
    step(_undoStack, _redoStack, &UndoRedoTransaction::applyInitial);
}

void Undoer::redo() {
    step(_redoStack, _undoStack, &UndoRedoTransaction::applyEnding);
}

void Undoer::step(std::vector<TransactionPtr>& from, std::vector<TransactionPtr>& to,
                  void (UndoRedoTransaction::*apply)(UndoListTarget&) const) {
    if (from.empty())
        return;
    TransactionPtr transaction = std::move(from.back());
    from.pop_back();
    Applier applier(_playlist, _target);
    ((*transaction).*apply)(applier);
    to.push_back(std::move(transaction));
    menuChanged();
}

QString Undoer::undoTitle() const {
    return _undoStack.empty() ? QStringLiteral("Undo")
                              : QStringLiteral("Undo ") + _undoStack.back()->name();
}

QString Undoer::redoTitle() const {
    return _redoStack.empty() ? QStringLiteral("Redo")
                              : QStringLiteral("Redo ") + _redoStack.back()->name();
}

void Undoer::menuChanged() {
    if (_target)
        _target->undoMenuChanged();
}
