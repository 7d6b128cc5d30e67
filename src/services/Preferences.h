#pragma once
// The user's stored preferences: the break length, the bell's attenuation, the folder prefix left
// out of displayed paths and the synchronised folder that exports go to. Values live in QSettings
// under the key texts below; reads clamp whatever is stored to the range the program can use.

#include <QString>
#include <optional>

class Preferences {
public:
    static constexpr const char* restSoundAttenuationKey = "breaksoundAttenuation";
    static constexpr const char* directoryPrefixKey = "directoryPrefix";
    static constexpr const char* timerDurationKey = "timerDuration";
    static constexpr const char* cloudFolderKey = "cloudFolder";

    static Preferences& shared();

    // A preferences file that cannot be read (corrupt, truncated, not a settings file at all) is
    // set aside before anything reads it: the program starts with the defaults, and saving a
    // preference works again. Run once at start-up.
    static void setAsideUnreadableStore();

    // 0 is full volume, 1 the quietest; missing or unusable values read as 0.
    float restSoundAttenuation() const;
    void setRestSoundAttenuation(float attenuation);

    // Break length in minutes, never below one minute.
    double timerDuration() const;
    void setTimerDuration(double minutes);

    QString directoryPrefix() const;
    void setDirectoryPrefix(const QString& path);

    // The synchronised folder standing in for the cloud documents container; none until chosen.
    std::optional<QString> cloudFolder() const;
    void setCloudFolder(const QString& path);
};
