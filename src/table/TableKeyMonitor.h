#pragma once
// Sees every key typed in the program before the widgets do. Every key restarts the screensaver's
// countdown. Keys typed in the playlist table without a modifier are transport commands and go no
// further: space plays or pauses, Z marks a zero, left and right go to the previous and next zero,
// Escape clears the search, Delete and Backspace remove the selected entries; any other key is
// named on standard output and dropped. The table keeps the keys that move its selection (the
// arrows up and down, page up and down, home, end) and Tab, which moves the focus.

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

class TableKeyMonitor : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> anyKey;
        std::function<void()> space;
        std::function<void()> markZero;
        std::function<void()> prevZero;
        std::function<void()> nextZero;
        std::function<void()> clearSearch;
        std::function<void()> removeSelected;
    };

    TableKeyMonitor(QWidget* table, Commands commands, QObject* parent = nullptr);
    ~TableKeyMonitor() override;

    // "unhandled key: " with the key's characters and their code points in hexadecimal.
    static QString unhandledKeyLine(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handle(const QKeyEvent& key);

    QWidget* table;
    Commands commands;
};
