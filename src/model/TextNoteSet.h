#pragma once
// The notes of one audio file, kept in a plain text file beside it (dance.mp3 -> dance.txt) so
// they can be edited in a text editor too: the audio path on the first line, then one
// "m:ss text" line per note in ascending time.

#include "model/TextNote.h"

#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

class TextNoteSet {
public:
    // Reads the notes file; a missing one gives no notes. One that cannot be used (not text,
    // over 1 MiB, unreadable, not a file) is refused with a line saying why: no notes, and the
    // set is read-only, so the file is never overwritten.
    explicit TextNoteSet(QUrl mp3URL);

    static QUrl textURLFor(const QUrl& mp3URL);
    // The notes a notes file's bytes hold, in file order; none when the bytes are not notes
    // (`refusal`, when given, then says why).
    static std::vector<std::shared_ptr<TextNote>> parse(const QByteArray& bytes,
                                                        std::optional<QString>* refusal = nullptr);

    // The notes file's content.
    QString text() const;
    // Writes the notes file atomically. On failure prints "can't write <url>" and keeps `altered`;
    // a refused file is not written (said in one line).
    bool save();

    // Index of the last note at or before t; 0 when there is none.
    int noteIndex(double t) const;
    // The first note with time - preTrigger < t < time + postTrigger.
    std::shared_ptr<TextNote> noteNear(double t) const;
    // A new empty note at t, after every note at or before t; not written yet.
    std::shared_ptr<TextNote> addNote(double t);
    // Sets the note's text, or removes the note when the text is empty, then saves. On a refused
    // file the note is dropped instead, with one line holding its text.
    void commitNoteText(const std::shared_ptr<TextNote>& note, const QString& text);

    const QUrl mp3URL;
    const QUrl textURL;
    std::vector<std::shared_ptr<TextNote>> notes;
    bool altered = false;
    // Why the notes file is not used; none when it is.
    std::optional<QString> refusal;
    double preTrigger = 3.0;
    double postTrigger = 3.0;

private:
    static std::vector<std::shared_ptr<TextNote>> parseText(const QString& content);
};
