#pragma once
// The Preferences dialog: shows what its controller decides and forwards the user's changes.

#include "shell/PreferencesController.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QSlider;

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(QWidget* parent = nullptr);

    PreferencesController& controller() { return _controller; }

    // A window-modal folder chooser on `parent`, for this dialog and the Properties dialog.
    static FolderChooser folderChooser(QWidget* parent, const QString& title);

private:
    void showValues();

    PreferencesController _controller;
    QSlider* restSoundVolumeSlider;
    QSlider* timerDurationSlider;
    QLabel* timerDurationText;
    QLineEdit* directoryPrefixText;
    QLineEdit* cloudFolderText;
};
