#pragma once
// The notes of one audio file, kept in a plain text file beside it (dance.mp3 -> dance.txt) so
// they can be edited in a text editor too: the audio path on the first line, then one
// "m:ss text" line per note in ascending time.

#include "model/TextNote.h"

#include <QUrl>
#include <memory>
#include <vector>

class TextNoteSet {
public:
    // Reads the notes file; a missing or unreadable one gives no notes.
    explicit TextNoteSet(QUrl mp3URL);

    static QUrl textURLFor(const QUrl& mp3URL);
    // The notes a notes file's bytes hold, in file order.
    static std::vector<std::shared_ptr<TextNote>> parse(const QByteArray& bytes);

    // The notes file's content.
    QString text() const;
    // Writes the notes file atomically. On failure prints "can't write <url>" and keeps `altered`.
    bool save();

    // Index of the last note at or before t; 0 when there is none.
    int noteIndex(double t) const;
    // The first note with time - preTrigger < t < time + postTrigger.
    std::shared_ptr<TextNote> noteNear(double t) const;
    // A new empty note at t, after every note at or before t; not written yet.
    std::shared_ptr<TextNote> addNote(double t);
    // Sets the note's text, or removes the note when the text is empty, then saves.
    void commitNoteText(const std::shared_ptr<TextNote>& note, const QString& text);

    const QUrl mp3URL;
    const QUrl textURL;
    std::vector<std::shared_ptr<TextNote>> notes;
    bool altered = false;
    double preTrigger = 3.0;
    double postTrigger = 3.0;
};
