#include "shell/NoteEditor.h"

#include "model/Playlist.h"
#include "playback/Player.h"
#include "shell/DisplayController.h"
#include "table/EntryCommandHost.h"
#include "shell/InterceptingTextField.h"

NoteEditor::NoteEditor(InterceptingTextField& field, DisplayController& displays, Player& player,
                       EntryCommandHost& host, std::function<void()> editingDone, QObject* parent)
    : QObject(parent), field(field), displays(displays), player(player), host(host),
      editingDone(std::move(editingDone)) {
    connect(&field, &InterceptingTextField::editingStarted, this, &NoteEditor::startEditing);
    connect(&field, &InterceptingTextField::editingEnded, this, &NoteEditor::commit);
    connect(&field, &InterceptingTextField::editingCancelled, this, &NoteEditor::cancel);
}

void NoteEditor::startEditing() {
    player.pause();
    const PlaylistEntryPtr& entry = host.playlist().assignedEntry;
    if (entry && !displays.currentNote())
        entry->noteSet()->addNote(player.currentTime());
    host.updateDisplays();
    // The note being written stays the one shown until the edit ends, whatever moves meanwhile.
    displays.setNoteHeld(true);
}

void NoteEditor::commit() {
    displays.setNoteHeld(false);
    const PlaylistEntryPtr entry = host.playlist().assignedEntry;
    if (entry && displays.currentNote()) {
        entry->noteSet()->commitNoteText(displays.currentNote(), field.text());
        host.entryMarksChanged(entry);
    }
    host.updateDisplays();
    if (editingDone)
        editingDone();
}

void NoteEditor::cancel() {
    const auto& note = displays.currentNote();
    field.setText(note ? note->text : QString());
    commit();
}
