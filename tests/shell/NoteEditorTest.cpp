// Editing the note in place: a click starts a new note at the position and pauses the music,
// Return keeps its text and writes the notes file. (A note typed before quitting is kept in
// tests/e2e/evening.py.)

#include "MainViewFixture.h"
#include "model/TextNoteSet.h"

using NoteEditorTest = MainViewFixture;

TEST_F(NoteEditorTest, aClickStartsANoteAtThePositionAndReturnWritesIt) {
    openSession({"tune.wav"}, 10.0, 0);
    InterceptingTextField& field = *view->noteTextField;
    player().play();
    render(5.5);
    QTest::mouseClick(&field, Qt::LeftButton);
    EXPECT_TRUE(field.editing());
    EXPECT_FALSE(player().isPlaying()) << "editing pauses the music";
    QTest::keyClicks(&field, QStringLiteral("Swing"));
    // The position moving meanwhile does not take the text away.
    player().setCurrentTime(0.0);
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_FALSE(field.editing());
    QFile notes(TextNoteSet::textURLFor(entry(0)->url()).toLocalFile());
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(notes.readAll().contains(" 0:05 Swing\n"));
}
