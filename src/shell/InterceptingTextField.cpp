#include "shell/InterceptingTextField.h"

#include <QKeyEvent>

InterceptingTextField::InterceptingTextField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::editingFinished, this, &InterceptingTextField::finishEditing);
}

void InterceptingTextField::finishEditing() {
    if (!_editing)
        return;
    _editing = false;
    emit editingEnded();
}

void InterceptingTextField::start() {
    if (_editing)
        return;
    _editing = true;
    emit editingStarted();
}

void InterceptingTextField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    start();
}

void InterceptingTextField::mousePressEvent(QMouseEvent* event) {
    start();
    QLineEdit::mousePressEvent(event);
}

void InterceptingTextField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && _editing) {
        _editing = false;
        emit editingCancelled();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
