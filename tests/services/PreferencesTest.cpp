#include "services/Preferences.h"

#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cmath>
#include <gtest/gtest.h>

// The defaults are read through the preferences dialog's tests.
TEST(Preferences, StoresUnderTheKeyTextsOtherVersionsRead) {
    Preferences& preferences = Preferences::shared();
    preferences.setRestSoundAttenuation(0.5f);
    preferences.setTimerDuration(4.0);
    preferences.setDirectoryPrefix("/home/caller/Music");
    preferences.setCloudFolder("/home/caller/Nextcloud");

    const QSettings settings("brenmoor", "varlin");
    EXPECT_EQ(settings.value("breaksoundAttenuation").toFloat(), 0.5f);
    EXPECT_EQ(settings.value("timerDuration").toDouble(), 4.0);
    EXPECT_EQ(settings.value("directoryPrefix").toString(), "/home/caller/Music");
    EXPECT_EQ(settings.value("cloudFolder").toString(), "/home/caller/Nextcloud");

    preferences.setCloudFolder("");
    EXPECT_FALSE(preferences.cloudFolder());
}

TEST(Preferences, StoredValuesAreClampedWhenRead) {
    Preferences& preferences = Preferences::shared();
    // Each value stored under both keys: out of range it reads as the nearest allowed value, not
    // a number as the default.
    const struct {
        QVariant stored;
        float attenuation;
        double duration;
    } cases[] = {{-0.5, 0.0f, 1.0},
                 {0.5, 0.5f, 1.0},
                 {1.5, 1.0f, 1.5},
                 {12.0, 1.0f, 12.0},
                 {"loud", 0.0f, 1.0}};
    for (const auto& c : cases) {
        QSettings().setValue(Preferences::restSoundAttenuationKey, c.stored);
        QSettings().setValue(Preferences::timerDurationKey, c.stored);
        EXPECT_EQ(preferences.restSoundAttenuation(), c.attenuation)
            << c.stored.toString().toStdString();
        EXPECT_EQ(preferences.timerDuration(), c.duration) << c.stored.toString().toStdString();
    }
    preferences.setRestSoundAttenuation(NAN);
    EXPECT_EQ(preferences.restSoundAttenuation(), 0.0f);
}

TEST(Preferences, AStoreThatCannotBeReadIsSetAsideAndTheDefaultsApply) {
    const QString path = QSettings().fileName();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"garbage", "\x89PNG\r\n\x1a\n"},
        {"a NUL", QByteArray("[General]\ntimerDuration=3\n\0\n", 28)},
        {"truncated", "[General]\ntimerDur"},
        {"JSON", R"({"timerDuration": 3})"},
        {"a folder", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(putBadFile(path, c.bytes));
        DiagnosticCapture capture;
        Preferences::setAsideUnreadableStore();
        ASSERT_EQ(capture.lines().size(), 1);
        EXPECT_TRUE(capture.lines()[0].contains(" set aside as "))
            << capture.lines()[0].toStdString();
        EXPECT_EQ(Preferences::shared().timerDuration(), 1.0);
        Preferences::shared().setTimerDuration(4.0);
        EXPECT_EQ(Preferences::shared().timerDuration(), 4.0);
        EXPECT_EQ(QSettings().status(), QSettings::NoError);

        // Good preferences stay where they are, without a word.
        capture.clear();
        Preferences::setAsideUnreadableStore();
        EXPECT_TRUE(capture.lines().isEmpty());
        QFile::remove(path);
    }
}
