// The live displays: since-zero and remaining times, the entry name, the note or folder, the
// "--:--" of no entry, the tick that repaints one cell only, and the fitted time font.

#include "shell/DisplayController.h"

#include "MainViewFixture.h"

#include <QFontMetricsF>

class DisplayControllerTest : public MainViewFixture {
protected:
    QString since() const { return view->timeSinceZeroText->text(); }
    QString remaining() const { return view->timeRemainingText->text(); }
};

TEST_F(DisplayControllerTest, timesCountFromTheLastZeroAndTheNameCarriesTagsAndFolder) {
    openSession({"Music/Waltzes/Blue.mp3"}, 100.0, 0);
    entry(0)->_cachedDuration = 180.0;
    entry(0)->zeros = {30.0, 90.0};
    player().setCurrentTime(29.9);
    EXPECT_EQ(since(), QStringLiteral(" 0:29"));
    player().setCurrentTime(95.5);
    EXPECT_EQ(since(), QStringLiteral(" 0:05"));
    EXPECT_EQ(remaining(), QStringLiteral(" 1:25")) << "from the same zero";

    playlist()._directoryPrefix = dir.filePath("Music");
    entry(0)->tags = QStringLiteral("R");
    controller->updateDisplays();
    EXPECT_EQ(view->entryName->text(), QStringLiteral("R Blue R"));
    EXPECT_EQ(view->noteTextField->text(), QStringLiteral("Waltzes/"));
    // A note takes the folder's place.
    entry(0)->noteSet()->addNote(0.0)->text = QStringLiteral("Intro");
    controller->updateDisplays();
    EXPECT_EQ(view->noteTextField->text(), QStringLiteral("Intro"));

    controller->setCurrentEntry(-1);
    EXPECT_EQ(since(), QStringLiteral("--:--"));
    EXPECT_EQ(remaining(), QStringLiteral("--:--"));
    EXPECT_TRUE(view->entryName->text().isEmpty());
}

TEST_F(DisplayControllerTest, theTickRepaintsTheCurrentPlayedCellOnlyAndOnlyWhenMoving) {
    openSession({"a.wav", "b.wav", "c.wav"}, 3.0, 1);
    PlaylistTableModel& model = *controller->entryCommands().model();
    std::vector<QModelIndex> changed;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         changed.push_back(from == to ? from : QModelIndex());
                     });
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
    const QModelIndex played = model.index(1, PlaylistTableModel::PlayedColumn);
    EXPECT_EQ(changed, std::vector<QModelIndex>(3, played));
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
        const QFontMetricsF metrics(
            DisplayController::timeFont(DisplayController::fittedTimeFontSize(frame)));
        const double width =
            metrics.horizontalAdvance(QStringLiteral("99:59")) / (frame.width() - 5);
        const double height = metrics.height() * 0.77 / (frame.height() - 5);
        // Within the field, and either the width or the height used up.
        EXPECT_TRUE(std::max(width, height) <= 1.01 && std::max(width, height) > 0.9)
            << frame.width() << "x" << frame.height();
    }
    // Shown for the first time: the field is fitted as soon as the layout has sized it.
    view->resize(1280, 720);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QLabel& field = *view->timeSinceZeroText;
    EXPECT_DOUBLE_EQ(field.font().pointSizeF(),
                     DisplayController::fittedTimeFontSize(QSizeF(field.size())));
}
