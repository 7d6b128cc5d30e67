#include "shell/PreferencesController.h"

#include "services/Preferences.h"

#include <QDir>
#include <algorithm>

PreferencesController::PreferencesController(FolderChooser chooseFolder)
    : chooseFolder(std::move(chooseFolder)),
      _restSound("bell.mp3", [] { return Preferences::shared().restSoundAttenuation(); }),
      _timerDuration(std::max(Preferences::shared().timerDuration(), minimumTimerDuration)) {}

double PreferencesController::restSoundVolume() const {
    return 1.0 - Preferences::shared().restSoundAttenuation();
}

QString PreferencesController::directoryPrefixText() const {
    return Preferences::shared().directoryPrefix();
}

QString PreferencesController::cloudFolderText() const {
    return Preferences::shared().cloudFolder().value_or(QString());
}

QString PreferencesController::timerDurationLabel(double minutes) {
    const int whole = static_cast<int>(minutes);
    return QString("Timer duration %1 %2").arg(whole).arg(whole < 2 ? "minute" : "minutes");
}

void PreferencesController::timerDurationChanged(double minutes) {
    _timerDuration = minutes;
    Preferences::shared().setTimerDuration(minutes);
    emit changed();
}

void PreferencesController::restSoundVolumeChanged(double volume) {
    const float attenuation =
        volume <= 0.0 ? 1.0f : static_cast<float>(1.0 - std::min(volume, 1.0));
    Preferences::shared().setRestSoundAttenuation(attenuation);
    _restSound.play();
    emit changed();
}

void PreferencesController::choosePrefixPressed() {
    const QString start = directoryPrefixText();
    chooseFolder(start.isEmpty() ? QDir::homePath() : start, [this](std::optional<QString> path) {
        if (!path)
            return;
        Preferences::shared().setDirectoryPrefix(*path);
        emit changed();
    });
}

void PreferencesController::chooseCloudFolderPressed() {
    const QString start = cloudFolderText();
    chooseFolder(start.isEmpty() ? QDir::homePath() : start, [this](std::optional<QString> path) {
        if (!path)
            return;
        Preferences::shared().setCloudFolder(*path);
        emit changed();
    });
}
