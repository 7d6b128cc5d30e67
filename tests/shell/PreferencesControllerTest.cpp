// The Preferences dialog's controller: a change is stored and announced, and the bell is heard at
// its new volume.

#include "shell/PreferencesController.h"

#include "platform/audio/AudioFilePlayer.h"
#include "services/Preferences.h"

#include <QSettings>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(PreferencesController, ChangesAreStoredAndTheBellRingsAtItsNewVolume) {
    QSettings().clear();
    PreferencesController controller(
        [](const QString&, auto done) { done(QStringLiteral("/media/music")); });
    QSignalSpy changed(&controller, &PreferencesController::changed);
    controller.timerDurationChanged(1.9);
    EXPECT_EQ(controller.timerDurationText(), "Timer duration 1 minute") << "whole minutes";
    EXPECT_DOUBLE_EQ(Preferences::shared().timerDuration(), 1.9);
    controller.choosePrefixPressed();
    EXPECT_EQ(controller.directoryPrefixText(), "/media/music");

    ASSERT_NE(controller.restSound().avplayer(), nullptr);
    controller.restSoundVolumeChanged(0.25);
    EXPECT_FLOAT_EQ(Preferences::shared().restSoundAttenuation(), 0.75f);
    EXPECT_TRUE(controller.restSound().avplayer()->isPlaying());
    EXPECT_EQ(changed.count(), 3);
}
