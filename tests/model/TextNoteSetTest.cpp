#include "model/TextNoteSet.h"

#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Bytes that may hold NULs.
template <size_t size> QByteArray bytes(const char (&literal)[size]) {
    return QByteArray(literal, size - 1);
}

// The notes as "time text" pairs.
QStringList notes(const TextNoteSet& set) {
    QStringList result;
    for (const auto& note : set.notes)
        result << QString::number(note->time) + ' ' + note->text;
    return result;
}

// Notes beside a track in a folder of the test's own.
class TextNoteSetTest : public testing::Test {
protected:
    QTemporaryDir dir;
    const QUrl mp3 = QUrl::fromLocalFile(dir.filePath("d.mp3"));
    const QString path = dir.filePath("d.txt");
};
} // namespace

// A note is the first time in a line and the text after it.
TEST_F(TextNoteSetTest, ReadsTheFirstTimeOfEachLineSplitAtControlsInUtf8OrWindows1252) {
    const struct {
        QByteArray bytes;
        QStringList notes;
    } cases[] = {
        {"/x/d.mp3\r\n0:10 caf\xc3\xa9\r0:20\tafter tab\x0b"
         "0:30 x\n no time here\n",
         {"10 café", "20 ", "30 x"}},
        // The last two: seconds no longer whole in a double, so a saved note would move.
        {"1:75 x\ncue at 100:00   stop  \n1:5 too short\n99999999999999999999:00 x\n"
         "1000000000000009:05 x\n",
         {"135 x", "6000 stop  "}},
        {"0:10 \x93Swing\x94 \x96 caf\xe9\n", {"10 “Swing” – café"}},
    };
    for (const auto& c : cases) {
        writeFile(path, c.bytes);
        TextNoteSet set(mp3);
        EXPECT_FALSE(set.refusal);
        EXPECT_EQ(notes(set), c.notes);
    }
}

// Notes near a time and the exact widths of the times written have no test of their own.
TEST_F(TextNoteSetTest, CommitSavesAtOnceRemovesByIdentityAndAFailedSaveKeepsTheChanges) {
    const QString folder = dir.filePath("missing folder");
    const QUrl track = QUrl::fromLocalFile(folder + "/d.mp3");
    TextNoteSet set(track);
    DiagnosticCapture capture;
    const auto ten = set.addNote(600);
    const auto swing = set.addNote(65.7);
    const auto twin = set.addNote(600);
    EXPECT_EQ(set.notes, (std::vector<std::shared_ptr<TextNote>>{swing, ten, twin}))
        << "a new note goes after those of the same time";
    set.altered = false; // as after an earlier save
    set.commitNoteText(ten, "ten");
    EXPECT_EQ(ten->text, "ten");
    EXPECT_EQ(capture.lines(),
              QStringList{"can't write " + QUrl::fromLocalFile(folder + "/d.txt").toString()});
    EXPECT_TRUE(set.altered) << "so that the write is retried when the entry is left";

    ASSERT_TRUE(QDir().mkdir(folder));
    set.commitNoteText(swing, "swing");
    set.commitNoteText(twin, "");
    EXPECT_EQ(set.notes, (std::vector<std::shared_ptr<TextNote>>{swing, ten}));
    EXPECT_FALSE(set.altered);
    EXPECT_EQ(readFile(folder + "/d.txt"),
              (track.toLocalFile() + "\n 1:05 swing\n10:00 ten\n").toUtf8());
    EXPECT_EQ(notes(TextNoteSet(track)), (QStringList{"65 swing", "600 ten"}));
}

// That a refused file is read again once fixed has no test of its own.
TEST_F(TextNoteSetTest, AFileThatIsNoNotesFileIsRefusedAndNeverWritten) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"NUL bytes", bytes("0:10 one\n\0\0:20 two\n"), "binary data"},
        {"no UTF-8, no Windows-1252", "0:10 caf\xe9 \x81\n", "neither UTF-8 nor Windows-1252"},
        {"huge", "0:10 x\n" + QByteArray(1 << 20, 'x'), "larger than 1 MiB"},
        {"a folder", {}, "not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        ASSERT_TRUE(putBadFile(path, c.bytes));
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
