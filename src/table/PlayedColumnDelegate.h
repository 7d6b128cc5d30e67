#pragma once
// Draws the "PlayedColumn" cell as a bar: how much of the track has
// been heard in this run.

#include <QStyledItemDelegate>

class PlayedColumnDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
