#include "shell/PreferencesController.h"

#include "platform/audio/AudioFilePlayer.h"
#include "services/Preferences.h"
#include "shell/PreferencesDialog.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <gtest/gtest.h>

namespace {
// Answers every folder question at once with a prepared answer.
struct PreparedFolder {
    FolderChooser chooser() {
        return [this](const QString& start, std::function<void(std::optional<QString>)> done) {
            starts << start;
            done(answer);
        };
    }
    std::optional<QString> answer;
    QStringList starts;
};
} // namespace

TEST(PreferencesController, WithNothingStoredShowsFullBellOneMinuteAndNoPrefix) {
    QSettings().clear();
    PreparedFolder folder;
    PreferencesController controller(folder.chooser());
    EXPECT_DOUBLE_EQ(controller.restSoundVolume(), 1.0);
    EXPECT_EQ(controller.timerDurationText(), "Timer duration 1 minute");
    EXPECT_EQ(controller.directoryPrefixText(), "");
    EXPECT_EQ(controller.cloudFolderText(), "");

    // The dialog shows the same.
    PreferencesDialog dialog;
    const auto sliders = dialog.findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 2);
    EXPECT_EQ(sliders[0]->value(), sliders[0]->maximum());
    EXPECT_EQ(sliders[1]->value(), sliders[1]->minimum());
}

TEST(PreferencesController, DurationLabelUsesTheWholeMinutes) {
    EXPECT_EQ(PreferencesController::timerDurationLabel(2.0), "Timer duration 2 minutes");

    PreparedFolder folder;
    PreferencesController controller(folder.chooser());
    QSignalSpy changed(&controller, &PreferencesController::changed);
    controller.timerDurationChanged(1.9);
    EXPECT_EQ(controller.timerDurationText(), "Timer duration 1 minute");
    EXPECT_DOUBLE_EQ(Preferences::shared().timerDuration(), 1.9);
    EXPECT_EQ(changed.count(), 1);

    // A stored duration below one minute shows one minute.
    Preferences::shared().setTimerDuration(0.25);
    EXPECT_DOUBLE_EQ(PreferencesController(folder.chooser()).timerDuration(), 1.0);
}

TEST(PreferencesController, BellSliderStoresAttenuationAndRingsAtTheNewVolume) {
    PreparedFolder folder;
    PreferencesController controller(folder.chooser());
    ASSERT_NE(controller.restSound().avplayer(), nullptr);

    controller.restSoundVolumeChanged(0.25);
    EXPECT_FLOAT_EQ(Preferences::shared().restSoundAttenuation(), 0.75f);
    EXPECT_TRUE(controller.restSound().avplayer()->isPlaying());
    EXPECT_FLOAT_EQ(controller.restSound().avplayer()->volume(), SoundEffect::volumeFor(0.75f));
}

TEST(PreferencesController, FolderChoicesStoreOnlyWhenConfirmed) {
    QSettings().clear();
    PreparedFolder folder;
    PreferencesController controller(folder.chooser());
    QSignalSpy changed(&controller, &PreferencesController::changed);

    controller.choosePrefixPressed();
    controller.chooseCloudFolderPressed();
    EXPECT_EQ(controller.directoryPrefixText(), "");
    EXPECT_FALSE(Preferences::shared().cloudFolder());
    EXPECT_EQ(changed.count(), 0);

    folder.answer = "/media/music";
    controller.choosePrefixPressed();
    EXPECT_EQ(Preferences::shared().directoryPrefix(), "/media/music");
    folder.answer = "/home/caller/Sync";
    controller.chooseCloudFolderPressed();
    EXPECT_EQ(Preferences::shared().cloudFolder(), "/home/caller/Sync");
    EXPECT_EQ(changed.count(), 2);

    // The chooser starts where the stored folder is.
    controller.choosePrefixPressed();
    EXPECT_EQ(folder.starts.last(), "/media/music");
}
