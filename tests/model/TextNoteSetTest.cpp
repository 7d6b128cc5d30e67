#include "model/TextNoteSet.h"

#include "ModelTestSupport.h"
#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Bytes that may hold NULs.
template <size_t size> QByteArray bytes(const char (&literal)[size]) {
    return QByteArray(literal, size - 1);
}

std::vector<double> times(const TextNoteSet& set) {
    std::vector<double> result;
    for (const auto& note : set.notes)
        result.push_back(note->time);
    return result;
}
} // namespace

TEST(TextNote, ParsesTheFirstTimeInALine) {
    const struct {
        const char* line;
        double time;
        const char* text;
    } notes[] = {{" 1:05 next figure", 65, "next figure"},
                 {"1:75 x", 135, "x"},
                 {"cue at 100:00   stop  ", 6000, "stop  "},
                 {"10:00", 600, ""}};
    for (const auto& note : notes) {
        const auto parsed = TextNote::parse(note.line);
        ASSERT_TRUE(parsed) << note.line;
        EXPECT_EQ(std::pair(parsed->time, parsed->text), std::pair(note.time, QString(note.text)));
    }
    // The last: seconds no longer whole in a double, so a saved note would move.
    for (const char* line : {"/music/dance.mp3", "1:5 too short", "99999999999999999999:00 x",
                             "1000000000000009:05 x"})
        EXPECT_FALSE(TextNote::parse(line)) << line;
}

TEST(TextNoteSet, WritesAndReadsBack) {
    QTemporaryDir dir;
    const QUrl mp3 = QUrl::fromLocalFile(dir.filePath("dance.mp3"));
    EXPECT_EQ(TextNoteSet::textURLFor(mp3), QUrl::fromLocalFile(dir.filePath("dance.txt")));
    EXPECT_EQ(TextNoteSet::textURLFor(QUrl::fromLocalFile("/m/a.b.mp3")),
              QUrl::fromLocalFile("/m/a.b.txt"));

    TextNoteSet set(mp3);
    EXPECT_TRUE(set.notes.empty());
    set.addNote(65.7)->text = "swing";
    set.addNote(600)->text = "ten";
    set.addNote(6000)->text = "hundred";
    EXPECT_TRUE(set.altered);
    ASSERT_TRUE(set.save());
    EXPECT_FALSE(set.altered);
    EXPECT_EQ(readFile(dir.filePath("dance.txt")),
              (dir.filePath("dance.mp3") + "\n 1:05 swing\n10:00 ten\n100:00 hundred\n").toUtf8());

    TextNoteSet read(mp3);
    EXPECT_EQ(times(read), (std::vector<double>{65, 600, 6000}));
    EXPECT_EQ(read.notes[0]->text, "swing");
    EXPECT_FALSE(read.altered);
}

TEST(TextNoteSet, SplitsAtControlCharactersAndFallsBackFromInvalidUtf8) {
    QTemporaryDir dir;
    const QUrl mp3 = QUrl::fromLocalFile(dir.filePath("d.mp3"));
    writeFile(dir.filePath("d.txt"), "/x/d.mp3\r\n0:10 caf\xc3\xa9\r0:20\tafter tab\x0b"
                                     "0:30 x\n no time here\n");
    TextNoteSet set(mp3);
    EXPECT_EQ(times(set), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(set.notes[0]->text, QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(set.notes[1]->text, "");

    writeFile(dir.filePath("d.txt"), "0:10 caf\xe9 cr\xe8me\n");
    TextNoteSet latin(mp3);
    ASSERT_EQ(latin.notes.size(), 1u);
    EXPECT_EQ(latin.notes[0]->text, QString::fromUtf8("caf\xc3\xa9 cr\xc3\xa8me"));
}

TEST(TextNoteSet, NoteNearIsWithinThreeSecondsAndAddNotePlacesAfterEqualTimes) {
    QTemporaryDir dir;
    TextNoteSet set(QUrl::fromLocalFile(dir.filePath("d.mp3")));
    EXPECT_EQ(set.noteIndex(5), 0);
    EXPECT_FALSE(set.noteNear(5));
    const auto at10 = set.addNote(10);
    const auto at20 = set.addNote(20);
    EXPECT_EQ(set.noteIndex(20), 1);
    EXPECT_EQ(set.noteIndex(19.9), 0);
    EXPECT_FALSE(set.noteNear(13));
    EXPECT_EQ(set.noteNear(12.9), at10);
    EXPECT_FALSE(set.noteNear(7));
    EXPECT_EQ(set.noteNear(7.5), at10);
    EXPECT_EQ(set.noteNear(17.5), at20);

    const auto at15 = set.addNote(15);
    const auto at5 = set.addNote(5);
    const auto second20 = set.addNote(20);
    EXPECT_EQ(set.notes, (std::vector<std::shared_ptr<TextNote>>{at5, at10, at15, at20, second20}));
    EXPECT_EQ(set.noteIndex(25), 4);
}

TEST(TextNoteSet, CommitReplacesOrRemovesByIdentityAndAFailedSaveKeepsTheChanges) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("missing folder");
    TextNoteSet set(QUrl::fromLocalFile(folder + "/d.mp3"));
    DiagnosticCapture capture;
    const auto first = set.addNote(10);
    const auto twin = set.addNote(10);
    set.commitNoteText(first, "one");
    EXPECT_EQ(first->text, "one");
    EXPECT_EQ(capture.lines(),
              QStringList{"can't write " + QUrl::fromLocalFile(folder + "/d.txt").toString()});
    EXPECT_TRUE(set.altered);

    ASSERT_TRUE(QDir().mkdir(folder));
    set.commitNoteText(twin, "");
    EXPECT_EQ(set.notes, (std::vector<std::shared_ptr<TextNote>>{first}));
    EXPECT_FALSE(set.altered);
    EXPECT_EQ(readFile(folder + "/d.txt"), (folder + "/d.mp3\n 0:10 one\n").toUtf8());
}

TEST(TextNoteSet, AFileThatIsNoNotesFileIsRefusedAndNeverWritten) {
    QTemporaryDir dir;
    const QUrl mp3 = QUrl::fromLocalFile(dir.filePath("d.mp3"));
    const QString path = dir.filePath("d.txt");
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"NUL bytes", bytes("0:10 one\n\0\0:20 two\n"), "binary data"},
        {"a picture", bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"), "binary data"},
        {"no UTF-8, no Windows-1252", "0:10 caf\xe9 \x81\n", "neither UTF-8 nor Windows-1252"},
        {"huge", "0:10 x\n" + QByteArray(1 << 20, 'x'), "larger than 1 MiB"},
        {"a folder", {}, "not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        if (c.bytes.isEmpty())
            ASSERT_TRUE(QDir().mkdir(path));
        else
            writeFile(path, c.bytes);
        DiagnosticCapture capture;
        TextNoteSet set(mp3);
        EXPECT_TRUE(set.notes.empty());
        ASSERT_TRUE(set.refusal);
        EXPECT_TRUE(set.refusal->startsWith(c.reason)) << set.refusal->toStdString();
        ASSERT_EQ(capture.lines().size(), 1);
        EXPECT_TRUE(capture.lines()[0].contains(path));

        set.commitNoteText(set.addNote(65), "Swing");
        set.altered = true;
        EXPECT_FALSE(set.save());
        EXPECT_TRUE(set.notes.empty());
        ASSERT_EQ(capture.lines().size(), 3);
        EXPECT_TRUE(capture.lines()[1].contains("\"Swing\" at 1:05 not saved"))
            << capture.lines()[1].toStdString();
        EXPECT_EQ(readFile(path), c.bytes);
        QDir().rmdir(path);
    }
}

TEST(TextNoteSet, AWindows1252FileIsReadAndARefusedOneIsReadAgainOnceLeft) {
    QTemporaryDir dir;
    const QUrl mp3 = QUrl::fromLocalFile(dir.filePath("d.mp3"));
    writeFile(dir.filePath("d.txt"), "0:10 \x93Swing\x94 \x96 caf\xe9\n");
    TextNoteSet legacy(mp3);
    ASSERT_FALSE(legacy.refusal);
    ASSERT_EQ(legacy.notes.size(), 1u);
    EXPECT_EQ(legacy.notes[0]->text, QString::fromUtf8("“Swing” – café"));

    writeFile(dir.filePath("d.txt"), bytes("0:10 one\0"));
    PlaylistEntry entry(mp3, 60.0);
    DiagnosticCapture capture;
    EXPECT_TRUE(entry.noteSet()->refusal);
    writeFile(dir.filePath("d.txt"), "0:10 one\n");
    entry.recordLeave();
    EXPECT_FALSE(entry.noteSet()->refusal);
    EXPECT_EQ(entry.noteSet()->notes.size(), 1u);
}
