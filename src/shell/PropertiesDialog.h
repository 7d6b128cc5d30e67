#pragma once
// The Properties dialog of the open session: shows what its controller decides and forwards the
// user's changes.

#include "shell/PropertiesController.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // `foldersChanged` runs when the prefix changed: the table shows its folders again.
    PropertiesDialog(PlaylistPtr playlist, std::function<void()> foldersChanged,
                     QWidget* parent = nullptr);

    PropertiesController& controller() { return _controller; }

private:
    void showValues();

    PropertiesController _controller;
    QLabel* sessionUrlLabel;
    QLineEdit* prefixTextfield;
};
