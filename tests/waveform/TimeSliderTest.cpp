#include "waveform/TimeSlider.h"

#include "platform/Diagnostics.h"
#include "playback/OfflinePlayback.h"
#include "playback/Player.h"
#include "playback/Scrubber.h"
#include "waveform/NoteButton.h"
#include "waveform/ZeroButton.h"

#include <QFile>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TimeSliderWidgetTest : public OfflinePlayback {
protected:
    TimeSliderWidgetTest() {
        slider.resize(420, 40);
        slider.updateDisplays = [this] { ++displayUpdates; };
    }

    PlaylistEntryPtr entryWithNotes(const QString& notes) {
        QFile file(dir.filePath("dance.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(notes.toUtf8());
        file.close();
        return std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(dir.filePath("dance.mp3")),
                                               100.0);
    }

    TimeSlider slider;
    int displayUpdates = 0;
};

TEST_F(TimeSliderWidgetTest, OneMarkerPerZeroAndNoteAndRemovingOneRemovesOnlyIt) {
    const PlaylistEntryPtr entry = entryWithNotes("/x/dance.mp3\n0:05 a\n0:20 b\n0:40 c\n");
    entry->zeros = {10.0, 42.126, 42.126, 70.0};
    slider.setEntry(entry);
    ASSERT_EQ(slider.zeroButtons().size(), 4u);
    ASSERT_EQ(slider.noteButtons().size(), 3u);
    // Centred on x(t) and the middle of the slider: 10 + 10/100 x 400 = 50.
    const QRect frame = slider.zeroButtons()[0]->geometry();
    EXPECT_NEAR(frame.center().x() + 0.5, 50.0, 1.0);
    EXPECT_NEAR(frame.center().y() + 0.5, 20.0, 1.0);

    // Of two equal zeros only the first goes.
    DiagnosticCapture console;
    QMenu* menu = slider.zeroButtons()[2]->makeMenu();
    menu->actions().last()->trigger();
    EXPECT_EQ(console.lines(), QStringList{"remove Zero at 42.13"});
    EXPECT_EQ(entry->zeros, std::vector<double>({10.0, 42.126, 70.0}));
    EXPECT_EQ(slider.zeroButtons().size(), 3u);
    EXPECT_EQ(displayUpdates, 2) << "the time since the last zero is shown again";

    // The other note buttons stay in step with the note set.
    NoteButton* keptLast = slider.noteButtons()[2];
    slider.noteButtons()[1]->remove();
    ASSERT_EQ(slider.noteButtons().size(), 2u);
    EXPECT_EQ(slider.noteButtons()[1], keptLast);
    const auto& notes = entry->noteSet()->notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1]->text, "c");
    EXPECT_TRUE(entry->noteSet()->altered);
    // A button that is no longer shown removes nothing.
    NoteButton stray(&slider, notes[0]);
    slider.removeNote(&stray);
    EXPECT_EQ(notes.size(), 2u);

    slider.setEntry(nullptr);
    EXPECT_TRUE(slider.zeroButtons().empty() && slider.noteButtons().empty());
    EXPECT_EQ(slider.xForTime(30.0), 0.0) << "no track: everything stands at the left edge";
    EXPECT_DOUBLE_EQ(TimeSlider::timeForX(100.0, 100.0, 0.0, 15.0, 10.0), 0.0) << "no width";
}

TEST_F(TimeSliderWidgetTest, PressesSeekTheClampingPlayerAndDragsScrub) {
    auto entry = std::make_shared<PlaylistEntry>(make("tone.wav", tone(4.0)), 4.0);
    entry->zeros = {2.0};
    Player player;
    player.setPreviewing(true);
    player.setEntry(entry);
    Scrubber scrubber(&player, std::nullopt, [](double, std::function<void()>) {});
    slider.setPlayer(&player);
    slider.scrubber = [&] { return &scrubber; };
    slider.setEntry(entry);

    // Track from 10 to 410: a second is 100 points.
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(110, 20));
    EXPECT_NEAR(player.currentTime(), 1.0, 1e-9);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(418, 20));
    EXPECT_NEAR(player.currentTime(), player.duration() - 0.1, 1e-9);

    slider.pressAt(60.0);
    slider.dragTo(160.0);
    EXPECT_TRUE(scrubber.scrubbing());
    EXPECT_NEAR(player.currentTime(), 1.5, 1e-9);
    slider.releaseAt(260.0);
    EXPECT_FALSE(scrubber.scrubbing());
    EXPECT_NEAR(player.currentTime(), 2.5, 1e-9);

    // A click on a marker seeks to the clicked point, and says so on the console.
    DiagnosticCapture console;
    ZeroButton* zero = slider.zeroButtons()[0];
    const QPoint offCentre = zero->rect().center() + QPoint(3, 0);
    QTest::mouseClick(zero, Qt::LeftButton, {}, offCentre);
    EXPECT_EQ(console.lines(), QStringList{"TimeSliderButton clicked"});
    EXPECT_NEAR(player.currentTime(), (zero->mapToParent(offCentre).x() - 10.0) / 100.0, 1e-9);
}

} // namespace

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

TEST_F(TimeSliderWidgetTest, TheCursorRepaintsOnceItHasMovedHalfAPixel) {
    // 100 s over 400 pixels: a tick of 0.1 s moves the cursor 0.4 pixels.
    slider.setEntry(entryWithNotes(""));
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    PaintCounter counter;
    slider.installEventFilter(&counter);
    for (int tick = 1; tick <= 30; ++tick) {
        slider.setValue(tick * 0.1);
        QCoreApplication::processEvents();
    }
    // Every second tick: the small steps add up rather than being lost one by one.
    EXPECT_GE(counter.paints, 10);
    EXPECT_LE(counter.paints, 15);
}
