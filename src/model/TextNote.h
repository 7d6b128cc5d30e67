#pragma once
// A timed cue of a track: shown large while the track plays near its time. Identity matters
// (the note being edited is found by it), so notes are shared references.

#include <QString>
#include <memory>

class TextNote {
public:
    TextNote(double time, QString text) : time(time), text(std::move(text)) {}

    // The first "m:ss" in the line is the time; what follows it (after blanks) is the text.
    // Null when the line holds no time.
    static std::shared_ptr<TextNote> parse(const QString& line);

    const double time;
    QString text;
};
