// The live displays: since-zero and remaining times, the entry name, the note or folder, the
// "--:--" of no entry, the tick that repaints one cell only, and the fitted time font.

#include "shell/DisplayController.h"

#include "MainViewFixture.h"
#include "table/EntryCommands.h"
#include "shell/InterceptingTextField.h"
#include "table/PlaylistTableModel.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QSignalSpy>

class DisplayControllerTest : public MainViewFixture {
protected:
    PlaylistEntryPtr open(const QStringList& tracks, double seconds, const QString& folder = {}) {
        Playlist& list = playlist();
        for (const QString& name : tracks)
            list.allEntries.push_back(
                std::make_shared<PlaylistEntry>(track(name, seconds, folder), seconds));
        controller->reloadTable();
        controller->setCurrentEntry(0);
        return list.allEntries[0];
    }
    QString since() const { return view->timeSinceZeroText->text(); }
    QString remaining() const { return view->timeRemainingText->text(); }
};

TEST_F(DisplayControllerTest, timesCountFromTheLastZeroAndRemainingFromTheSameZero) {
    const PlaylistEntryPtr entry = open({"long.wav"}, 100.0);
    entry->_cachedDuration = 180.0;
    entry->zeros = {30.0, 90.0};

    player().setCurrentTime(29.9);
    EXPECT_EQ(since(), QStringLiteral(" 0:29"));
    player().setCurrentTime(95.5);
    EXPECT_EQ(since(), QStringLiteral(" 0:05"));
    EXPECT_EQ(remaining(), QStringLiteral(" 1:25"));
    EXPECT_TRUE(view->timeSinceZeroText->isEnabled());

    controller->setCurrentEntry(-1);
    EXPECT_EQ(since(), QStringLiteral("--:--"));
    EXPECT_EQ(remaining(), QStringLiteral("--:--"));
    EXPECT_TRUE(view->entryName->text().isEmpty());
}

TEST_F(DisplayControllerTest, theNameCarriesTheTagsOnBothSidesAndTheFieldTheFolder) {
    const PlaylistEntryPtr entry = open({"Blue.mp3"}, 1.0, "Music/Waltzes");
    playlist()._directoryPrefix = dir.filePath("Music");
    controller->updateDisplays();
    EXPECT_EQ(view->entryName->text(), QStringLiteral(" Blue "));
    EXPECT_EQ(view->noteTextField->text(), QStringLiteral("Waltzes/"));

    entry->tags = QStringLiteral("R");
    controller->updateDisplays();
    EXPECT_EQ(view->entryName->text(), QStringLiteral("R Blue R"));

    // A note near the position takes the folder's place; away from it, the note at 0 does.
    entry->noteSet()->addNote(0.0)->text = QStringLiteral("Intro");
    controller->updateDisplays();
    EXPECT_EQ(view->noteTextField->text(), QStringLiteral("Intro"));
}

TEST_F(DisplayControllerTest, theTickRepaintsTheCurrentPlayedCellOnlyAndOnlyWhenMoving) {
    open({"a.wav", "b.wav", "c.wav"}, 3.0);
    controller->setCurrentEntry(1);
    PlaylistTableModel& model = *controller->entryCommands().model();
    std::vector<std::pair<QModelIndex, QModelIndex>> changed;
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex& to) { changed.emplace_back(from, to); });
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    DisplayController& displays = controller->displays();

    displays.updateElapsedTime();
    changed.clear();
    displays.updateElapsedTime();
    EXPECT_TRUE(changed.empty()) << "a still position costs no display work";

    player().play();
    for (int tick = 0; tick < 3; ++tick) {
        render(0.1);
        displays.updateElapsedTime();
    }
    ASSERT_EQ(changed.size(), 3u);
    for (const auto& [from, to] : changed) {
        EXPECT_EQ(from, to) << "one cell";
        EXPECT_EQ(from.row(), 1);
        EXPECT_EQ(from.column(), PlaylistTableModel::PlayedColumn);
    }
    EXPECT_EQ(resets.size(), 0);

    // The tick runs only while music plays, and stopping shows where it stopped.
    EXPECT_TRUE(displays.ticker().isActive());
    render(0.8);
    player().pause();
    EXPECT_FALSE(displays.ticker().isActive());
    EXPECT_EQ(since(), QStringLiteral(" 0:01"));
}

TEST_F(DisplayControllerTest, theTimeFontFitsTheWidestTimeInTheField) {
    for (const QSizeF frame : {QSizeF(600, 200), QSizeF(300, 400), QSizeF(900, 120)}) {
        const double size = DisplayController::fittedTimeFontSize(frame);
        const QFontMetricsF metrics(DisplayController::timeFont(size));
        EXPECT_LE(metrics.horizontalAdvance(QStringLiteral("99:59")), (frame.width() - 5) * 1.01);
        EXPECT_LE(metrics.height() * 0.77, (frame.height() - 5) * 1.01);
        // Either the width or the height is used up, not neither.
        const bool widthBound = metrics.horizontalAdvance("99:59") > 0.9 * (frame.width() - 5);
        const bool heightBound = metrics.height() * 0.77 > 0.9 * (frame.height() - 5);
        EXPECT_TRUE(widthBound || heightBound) << frame.width() << "x" << frame.height();
    }
}
