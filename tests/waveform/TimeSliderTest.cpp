#include "waveform/TimeSlider.h"

#include "platform/Diagnostics.h"
#include "support/TestFiles.h"
#include "waveform/NoteButton.h"
#include "waveform/ZeroButton.h"

#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TimeSlider, RemovingAMarkerRemovesOnlyItsOwnZeroOrNote) {
    QTemporaryDir dir;
    writeFile(dir.filePath("dance.txt"), "/x/dance.mp3\n0:05 a\n0:20 b\n0:40 c\n");
    const auto entry =
        std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(dir.filePath("dance.mp3")), 100.0);
    entry->zeros = {10.0, 42.126, 42.126, 70.0};
    TimeSlider slider;
    slider.setEntry(entry);
    ASSERT_EQ(slider.zeroButtons().size(), 4u);
    ASSERT_EQ(slider.noteButtons().size(), 3u);

    // Of two equal zeros only the first goes.
    DiagnosticCapture console;
    slider.zeroButtons()[2]->makeMenu()->actions().last()->trigger();
    EXPECT_EQ(entry->zeros, std::vector<double>({10.0, 42.126, 70.0}));
    EXPECT_EQ(slider.zeroButtons().size(), 3u);

    // The other note buttons stay in step with the note set.
    NoteButton* keptLast = slider.noteButtons()[2];
    slider.noteButtons()[1]->remove();
    ASSERT_EQ(slider.noteButtons().size(), 2u);
    EXPECT_EQ(slider.noteButtons()[1], keptLast);
    const auto& notes = entry->noteSet()->notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1]->text, "c");
    EXPECT_TRUE(entry->noteSet()->altered);
}
