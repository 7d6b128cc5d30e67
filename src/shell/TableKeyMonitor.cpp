#include "shell/TableKeyMonitor.h"

#include <QKeyEvent>

TableKeyMonitor::TableKeyMonitor(std::function<void()> space, std::function<void()> anyKey,
                                 QObject* parent)
    : QObject(parent), space(std::move(space)), anyKey(std::move(anyKey)) {}

bool TableKeyMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    anyKey();
    const auto* key = static_cast<QKeyEvent*>(event);
    // Keypad is the one modifier that is no key the user holds (it marks keys of the keypad).
    const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
    if (held == Qt::NoModifier && key->key() == Qt::Key_Space) {
        space();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
