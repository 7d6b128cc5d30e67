#include "services/Preferences.h"

#include "model/BadFile.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <cmath>

namespace {

float clampedAttenuation(float attenuation) {
    if (std::isnan(attenuation))
        return 0.0f;
    return std::clamp(attenuation, 0.0f, 1.0f);
}

double flooredDuration(double minutes) {
    // Also maps NaN (and the missing value, 0) to the one-minute floor.
    return minutes >= 1.0 ? minutes : 1.0;
}

} // namespace

Preferences& Preferences::shared() {
    static Preferences preferences;
    return preferences;
}

void Preferences::setAsideUnreadableStore() {
    QString path;
    QSettings::Status status = QSettings::NoError;
    {
        const QSettings settings;
        path = settings.fileName();
        // The file is parsed at the first read; only then does the status tell.
        settings.allKeys();
        status = settings.status();
    }
    if (status != QSettings::NoError && QFileInfo::exists(path))
        BadFile::setAside(path, status == QSettings::FormatError
                                    ? QStringLiteral("not a preferences file")
                                    : QStringLiteral("cannot be read"));
}

float Preferences::restSoundAttenuation() const {
    return clampedAttenuation(QSettings().value(restSoundAttenuationKey, 0.0f).toFloat());
}

void Preferences::setRestSoundAttenuation(float attenuation) {
    QSettings().setValue(restSoundAttenuationKey, clampedAttenuation(attenuation));
}

double Preferences::timerDuration() const {
    return flooredDuration(QSettings().value(timerDurationKey, 0.0).toDouble());
}

void Preferences::setTimerDuration(double minutes) {
    QSettings().setValue(timerDurationKey, minutes);
}

QString Preferences::directoryPrefix() const {
    return QSettings().value(directoryPrefixKey).toString();
}

void Preferences::setDirectoryPrefix(const QString& path) {
    QSettings().setValue(directoryPrefixKey, path);
}

std::optional<QString> Preferences::cloudFolder() const {
    const QString path = QSettings().value(cloudFolderKey).toString();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void Preferences::setCloudFolder(const QString& path) {
    QSettings().setValue(cloudFolderKey, path);
}
