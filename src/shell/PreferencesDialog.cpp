#include "shell/PreferencesDialog.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

namespace {

// Slider steps: the bell in hundredths, the break in tenths of a minute.
constexpr int volumeSteps = 100;
constexpr int durationStepsPerMinute = 10;

QLineEdit* readOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setMinimumWidth(320);
    return field;
}

QWidget* fieldWithButton(QLineEdit* field, QPushButton* button) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(button);
    return row;
}

} // namespace

PreferencesDialog::PreferencesDialog(QWidget* parent)
    : QDialog(parent), _controller(folderChooser(this, "Choose a folder")),
      restSoundVolumeSlider(new QSlider(Qt::Horizontal, this)),
      timerDurationSlider(new QSlider(Qt::Horizontal, this)), timerDurationText(new QLabel(this)),
      directoryPrefixText(readOnlyField(this)), cloudFolderText(readOnlyField(this)) {
    setWindowTitle("Preferences");

    restSoundVolumeSlider->setRange(0, volumeSteps);
    // Only a finished move stores the value and rings the bell, not every step of a drag.
    restSoundVolumeSlider->setTracking(false);
    timerDurationSlider->setRange(
        static_cast<int>(PreferencesController::minimumTimerDuration * durationStepsPerMinute),
        static_cast<int>(PreferencesController::maximumTimerDuration * durationStepsPerMinute));
    timerDurationSlider->setPageStep(durationStepsPerMinute);

    auto* choosePrefix = new QPushButton("Choose…", this);
    auto* chooseCloudFolder = new QPushButton("Choose…", this);
    directoryPrefixText->setPlaceholderText("No prefix: folders are shown whole");
    cloudFolderText->setPlaceholderText("None: Export to Cloud does nothing");

    auto* form = new QFormLayout(this);
    form->addRow("Break bell volume", restSoundVolumeSlider);
    form->addRow(timerDurationText, timerDurationSlider);
    form->addRow("Directory prefix", fieldWithButton(directoryPrefixText, choosePrefix));
    form->addRow("Cloud folder", fieldWithButton(cloudFolderText, chooseCloudFolder));
    auto* close = new QPushButton("Close", this);
    form->addRow(QString(), close);

    connect(restSoundVolumeSlider, &QSlider::valueChanged, this, [this](int value) {
        _controller.restSoundVolumeChanged(static_cast<double>(value) / volumeSteps);
    });
    connect(timerDurationSlider, &QSlider::valueChanged, this, [this](int value) {
        _controller.timerDurationChanged(static_cast<double>(value) / durationStepsPerMinute);
    });
    connect(choosePrefix, &QPushButton::clicked, &_controller,
            &PreferencesController::choosePrefixPressed);
    connect(chooseCloudFolder, &QPushButton::clicked, &_controller,
            &PreferencesController::chooseCloudFolderPressed);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(&_controller, &PreferencesController::changed, this, &PreferencesDialog::showValues);
    showValues();
}

void PreferencesDialog::showValues() {
    // Showing a value is not a change by the user: no store, no bell.
    const QSignalBlocker volumeBlocker(restSoundVolumeSlider);
    const QSignalBlocker durationBlocker(timerDurationSlider);
    restSoundVolumeSlider->setValue(
        static_cast<int>(std::lround(_controller.restSoundVolume() * volumeSteps)));
    timerDurationSlider->setValue(
        static_cast<int>(std::lround(_controller.timerDuration() * durationStepsPerMinute)));
    timerDurationText->setText(_controller.timerDurationText());
    directoryPrefixText->setText(_controller.directoryPrefixText());
    cloudFolderText->setText(_controller.cloudFolderText());
}

FolderChooser PreferencesDialog::folderChooser(QWidget* parent, const QString& title) {
    QPointer<QWidget> owner(parent);
    return [owner, title](const QString& start, std::function<void(std::optional<QString>)> done) {
        if (!owner)
            return;
        auto* dialog = new QFileDialog(owner, title, start);
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
            const QStringList chosen = dialog->selectedFiles();
            if (result == QDialog::Accepted && !chosen.isEmpty())
                done(chosen.first());
            else
                done(std::nullopt);
        });
        dialog->open();
    };
}
