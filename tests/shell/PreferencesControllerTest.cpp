// The Preferences dialog's controller, from nothing stored (the preferences' own tests leave the
// defaults to this one).

#include "shell/PreferencesController.h"

#include "platform/audio/AudioFilePlayer.h"
#include "services/Preferences.h"
#include "shell/PreferencesDialog.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <gtest/gtest.h>

// Nothing stored before the controller reads the preferences.
struct ClearedSettings {
    ClearedSettings() { QSettings().clear(); }
};

class PreferencesControllerTest : public testing::Test, ClearedSettings {
protected:
    // Answers every folder question at once with the prepared answer.
    PreferencesController controller{[this](const QString& start, auto done) {
        starts << start;
        done(answer);
    }};
    QSignalSpy changed{&controller, &PreferencesController::changed};
    std::optional<QString> answer;
    QStringList starts;
};

TEST_F(PreferencesControllerTest, AFullBellAndOneMinuteAtFirstAndTheBellRingsAtANewVolume) {
    PreferencesDialog dialog;
    const auto sliders = dialog.findChildren<QSlider*>();
    ASSERT_EQ(sliders.size(), 2);
    EXPECT_EQ(sliders[0]->value(), sliders[0]->maximum());
    EXPECT_EQ(sliders[1]->value(), sliders[1]->minimum());
    EXPECT_DOUBLE_EQ(controller.restSoundVolume(), 1.0);
    EXPECT_EQ(controller.timerDurationText(), "Timer duration 1 minute");

    // Whole minutes are shown.
    EXPECT_EQ(PreferencesController::timerDurationLabel(2.0), "Timer duration 2 minutes");
    controller.timerDurationChanged(1.9);
    EXPECT_EQ(controller.timerDurationText(), "Timer duration 1 minute");
    EXPECT_DOUBLE_EQ(Preferences::shared().timerDuration(), 1.9);
    EXPECT_EQ(changed.count(), 1);

    ASSERT_NE(controller.restSound().avplayer(), nullptr);
    controller.restSoundVolumeChanged(0.25);
    EXPECT_FLOAT_EQ(Preferences::shared().restSoundAttenuation(), 0.75f);
    EXPECT_TRUE(controller.restSound().avplayer()->isPlaying());
    EXPECT_FLOAT_EQ(controller.restSound().avplayer()->volume(), SoundEffect::volumeFor(0.75f));
}

TEST_F(PreferencesControllerTest, FolderChoicesStoreOnlyWhenConfirmed) {
    controller.choosePrefixPressed();
    controller.chooseCloudFolderPressed();
    EXPECT_EQ(controller.directoryPrefixText(), "");
    EXPECT_FALSE(Preferences::shared().cloudFolder());
    EXPECT_EQ(changed.count(), 0);

    answer = "/media/music";
    controller.choosePrefixPressed();
    EXPECT_EQ(controller.directoryPrefixText(), "/media/music");
    answer = "/home/caller/Sync";
    controller.chooseCloudFolderPressed();
    EXPECT_EQ(Preferences::shared().cloudFolder(), "/home/caller/Sync");
    EXPECT_EQ(changed.count(), 2);
    // The chooser starts where the stored folder is.
    controller.choosePrefixPressed();
    EXPECT_EQ(starts.last(), "/media/music");
}
