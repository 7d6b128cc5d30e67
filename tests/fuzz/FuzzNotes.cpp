// A notes file's bytes: the notes read must be written and read back as they were.
#include "FuzzCheck.h"
#include "model/TextNoteSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextNoteSet set(QUrl::fromLocalFile(QStringLiteral("/nonexistent/music/dance.mp3")));
    set.notes = TextNoteSet::parse(fuzzInput(data, size));
    const auto back = TextNoteSet::parse(set.text().toUtf8());
    require(back.size() == set.notes.size(), "every note read is written");
    for (size_t i = 0; i < back.size(); ++i) {
        require(back[i]->time == set.notes[i]->time, "a note keeps its time");
        require(back[i]->text == set.notes[i]->text, "a note keeps its text");
    }
    return 0;
}
