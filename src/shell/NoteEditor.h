#pragma once
// Editing the note of the moment in place. Starting pauses the music and, when no note applies,
// makes an empty one at the position; ending writes the text (an empty text removes the note);
// Escape puts the stored text back and ends, so an untouched new note disappears again.

#include <QObject>
#include <functional>

class DisplayController;
class EntryCommandHost;
class InterceptingTextField;
class Player;

class NoteEditor : public QObject {
    Q_OBJECT
public:
    // `editingDone` hands the keyboard back (to the table).
    NoteEditor(InterceptingTextField& field, DisplayController& displays, Player& player,
               EntryCommandHost& host, std::function<void()> editingDone,
               QObject* parent = nullptr);

    void startEditing();
    void commit();
    void cancel();

private:
    InterceptingTextField& field;
    DisplayController& displays;
    Player& player;
    EntryCommandHost& host;
    std::function<void()> editingDone;
};
