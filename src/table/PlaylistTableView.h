#pragma once
// The playlist table as the user sees it: rows of the session in large type, whole-row multiple
// selection, dragging within, drops from outside, double click, header clicks and the entry
// context menu. It decides nothing: every gesture goes to the EntryCommands.

#include <QTableView>

class EntryCommands;
class QMenu;

class PlaylistTableView : public QTableView {
    Q_OBJECT
public:
    explicit PlaylistTableView(QWidget* parent = nullptr);

    // Shows the commands' model and selection and forwards to them; `tagMenu` (may be null)
    // joins the context menu.
    void setCommands(EntryCommands* commands, QMenu* tagMenu = nullptr);

    // Shown across the empty table: how to begin.
    static QString placeholderText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void sizeColumns();
    void fitRowHeight();

    EntryCommands* commands = nullptr;
    QMenu* contextMenu = nullptr;
};
