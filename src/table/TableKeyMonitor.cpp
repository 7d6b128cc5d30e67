#include "table/TableKeyMonitor.h"

#include "platform/Diagnostics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>
#include <QWidget>

TableKeyMonitor::TableKeyMonitor(QWidget* table, Commands commands, QObject* parent)
    : QObject(parent), table(table), commands(std::move(commands)) {
    qApp->installEventFilter(this);
}

TableKeyMonitor::~TableKeyMonitor() {
    qApp->removeEventFilter(this);
}

bool TableKeyMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    commands.anyKey();
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // Keypad is the one modifier that is no key the user holds (it marks keys of the keypad).
    const Qt::KeyboardModifiers held = key.modifiers() & ~Qt::KeypadModifier;
    if (watched != table || held != Qt::NoModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        // A held key repeats; a command runs once per press.
        return key.isAutoRepeat() || handle(key);
    }
}

bool TableKeyMonitor::handle(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Space:
        commands.space();
        break;
    case Qt::Key_Z:
        commands.markZero();
        break;
    case Qt::Key_Left:
        commands.prevZero();
        break;
    case Qt::Key_Right:
        commands.nextZero();
        break;
    case Qt::Key_Escape:
        commands.clearSearch();
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        commands.removeSelected();
        break;
    default:
        printLine(unhandledKeyLine(key));
        break;
    }
    return true;
}

QString TableKeyMonitor::unhandledKeyLine(const QKeyEvent& key) {
    // Keys without characters (F5, Insert) are named instead.
    const QString characters =
        key.text().isEmpty() ? QKeySequence(key.key()).toString() : key.text();
    QStringList codes;
    for (const char32_t scalar : characters.toUcs4())
        codes.append(QString::number(uint(scalar), 16));
    return QStringLiteral("unhandled key: ") + characters + QStringLiteral(", ") +
           codes.join(QLatin1Char(' '));
}
