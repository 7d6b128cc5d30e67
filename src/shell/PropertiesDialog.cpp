#include "shell/PropertiesDialog.h"

#include "shell/PreferencesDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PropertiesDialog::PropertiesDialog(PlaylistPtr playlist, std::function<void()> foldersChanged,
                                   QWidget* parent)
    : QDialog(parent),
      _controller(std::move(playlist), PreferencesDialog::folderChooser(this, "Choose a prefix"),
                  std::move(foldersChanged)),
      sessionUrlLabel(new QLabel(this)), prefixTextfield(new QLineEdit(this)) {
    setWindowTitle("Session Properties");
    sessionUrlLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    prefixTextfield->setMinimumWidth(320);
    prefixTextfield->setPlaceholderText("The preference's prefix");

    auto* choosePrefix = new QPushButton("Choose…", this);
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(prefixTextfield, 1);
    rowLayout->addWidget(choosePrefix);

    auto* form = new QFormLayout(this);
    form->addRow("Session file", sessionUrlLabel);
    form->addRow("Directory prefix", row);
    auto* close = new QPushButton("Close", this);
    form->addRow(QString(), close);

    connect(prefixTextfield, &QLineEdit::editingFinished, this,
            [this] { _controller.prefixEdited(prefixTextfield->text()); });
    connect(choosePrefix, &QPushButton::clicked, &_controller,
            &PropertiesController::choosePrefixPressed);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(&_controller, &PropertiesController::changed, this, &PropertiesDialog::showValues);
    showValues();
}

void PropertiesDialog::showValues() {
    sessionUrlLabel->setText(_controller.sessionUrlText());
    prefixTextfield->setText(_controller.prefixText());
}
