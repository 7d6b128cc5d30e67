#pragma once
// What the Preferences dialog edits: the bell's volume (rung at the new volume so the user hears
// it), the break length, the folder prefix left out of displayed paths and the synchronised folder
// exports go to. The values live in Preferences; this decides what the dialog shows.

#include "playback/SoundEffect.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// Shows a folder chooser starting in the given folder; answers with the chosen folder, none when
// cancelled.
using FolderChooser =
    std::function<void(const QString&, std::function<void(std::optional<QString>)>)>;

class PreferencesController : public QObject {
    Q_OBJECT
public:
    static constexpr double minimumTimerDuration = 1.0;
    static constexpr double maximumTimerDuration = 30.0;

    explicit PreferencesController(FolderChooser chooseFolder);

    // 0 … 1, full volume at 1.
    double restSoundVolume() const;
    double timerDuration() const { return _timerDuration; }
    QString timerDurationText() const { return timerDurationLabel(_timerDuration); }
    QString directoryPrefixText() const;
    QString cloudFolderText() const;

    void timerDurationChanged(double minutes);
    void restSoundVolumeChanged(double volume);
    void choosePrefixPressed();
    void chooseCloudFolderPressed();

    // "Timer duration 1 minute", "Timer duration 2 minutes": the whole minutes of the slider.
    static QString timerDurationLabel(double minutes);

    const SoundEffect& restSound() const { return _restSound; }

signals:
    // A value changed; the dialog shows them again.
    void changed();

private:
    FolderChooser chooseFolder;
    SoundEffect _restSound;
    double _timerDuration;
};
