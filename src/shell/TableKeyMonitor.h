#pragma once
// Sees the keys typed in the playlist table before the table does. Every key restarts the
// screensaver's countdown; the space bar, without modifiers, is the play/pause toggle and goes
// no further. The arrows and every other key stay with the table.

#include <QObject>
#include <functional>

class TableKeyMonitor : public QObject {
    Q_OBJECT
public:
    TableKeyMonitor(std::function<void()> space, std::function<void()> anyKey,
                    QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> space;
    std::function<void()> anyKey;
};
