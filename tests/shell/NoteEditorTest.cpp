// Editing the note in place: starting makes a new note at the position, Return keeps its text
// and writes the notes file, Escape restores the stored text (an empty new note disappears).

#include "MainViewFixture.h"
#include "model/TextNoteSet.h"

class NoteEditorTest : public MainViewFixture {
protected:
    void SetUp() override {
        MainViewFixture::SetUp();
        openSession({"tune.wav"}, 10.0, 0);
    }
    QString notesFile() {
        QFile file(TextNoteSet::textURLFor(entry(0)->url()).toLocalFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    std::vector<std::shared_ptr<TextNote>>& notes() { return entry(0)->noteSet()->notes; }
    InterceptingTextField& field() { return *view->noteTextField; }
};

TEST_F(NoteEditorTest, aClickStartsANoteReturnKeepsItEscapeRestoresItAndEmptyRemovesIt) {
    player().play();
    render(5.5);
    QTest::mouseClick(&field(), Qt::LeftButton);
    EXPECT_TRUE(field().editing());
    EXPECT_FALSE(player().isPlaying()) << "editing pauses the music";
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_NEAR(notes()[0]->time, 5.5, 0.01);

    QTest::keyClicks(&field(), QStringLiteral("Swing"));
    // The position moving meanwhile does not take the text away.
    player().setCurrentTime(0.0);
    EXPECT_EQ(field().text(), QStringLiteral("Swing"));
    QTest::keyClick(&field(), Qt::Key_Return);
    EXPECT_FALSE(field().editing());
    EXPECT_EQ(view->focusWidget(), view->tableView) << "the keys go back to the table";
    EXPECT_TRUE(notesFile().contains(QStringLiteral(" 0:05 Swing\n")));

    // Escape on a new note drops it.
    player().setCurrentTime(2.0);
    QTest::mouseClick(&field(), Qt::LeftButton);
    ASSERT_EQ(notes().size(), 2u);
    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_FALSE(field().editing());
    EXPECT_EQ(notes().size(), 1u);

    // Escape on a note that applies, which is edited rather than added, restores its text.
    entry(0)->noteSet()->addNote(2.0)->text = QStringLiteral("Star");
    controller->updateDisplays();
    QTest::mouseClick(&field(), Qt::LeftButton);
    EXPECT_EQ(notes().size(), 2u) << "a note that applies is edited, not added";
    field().selectAll();
    QTest::keyClicks(&field(), QStringLiteral("Circle"));
    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_EQ(field().text(), QStringLiteral("Star"));

    // Emptying the text of a note removes it.
    QTest::mouseClick(&field(), Qt::LeftButton);
    field().clear();
    QTest::keyClick(&field(), Qt::Key_Return);
    EXPECT_EQ(notes().size(), 1u);
    EXPECT_FALSE(notesFile().contains(QStringLiteral("Star")));
}
