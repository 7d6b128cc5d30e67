#include "services/Preferences.h"

#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cmath>
#include <gtest/gtest.h>

// The other keys have no test of their own; the defaults apply in the set-aside test below.
TEST(Preferences, StoresUnderTheKeyOtherVersionsReadAndClampsWhatItReads) {
    Preferences& preferences = Preferences::shared();
    preferences.setRestSoundAttenuation(0.5f);
    EXPECT_EQ(QSettings("brenmoor", "varlin").value("breaksoundAttenuation").toFloat(), 0.5f);
    preferences.setCloudFolder("");
    EXPECT_FALSE(preferences.cloudFolder());

    // Each value stored under both keys: out of range it reads as the nearest allowed value, not
    // a number as the default.
    const struct {
        QVariant stored;
        float attenuation;
        double duration;
    } cases[] = {{-0.5, 0.0f, 1.0}, {1.5, 1.0f, 1.5}, {"loud", 0.0f, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        QSettings().setValue(Preferences::restSoundAttenuationKey, c.stored);
        QSettings().setValue(Preferences::timerDurationKey, c.stored);
        EXPECT_EQ(preferences.restSoundAttenuation(), c.attenuation);
        EXPECT_EQ(preferences.timerDuration(), c.duration);
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
