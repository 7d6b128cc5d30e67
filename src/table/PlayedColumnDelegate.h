#pragma once
// Draws the "PlayedColumn" cell as a bar: how much of the track has
// been heard in this run.

#include <QHash>
#include <QRect>
#include <QStyledItemDelegate>
#include <utility>

class PlayedColumnDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Whether painting the cell again would change it: not while its bar is the same number of
    // pixels long as when it was last painted in that place. The playing row's bar is reported
    // ten times a second and grows by a pixel every few seconds.
    bool wouldChange(const QModelIndex& index, const QRect& cell) const;

private:
    // The place and filled length each cell (row, column) was last painted with.
    mutable QHash<std::pair<int, int>, std::pair<QRect, int>> painted;
};
