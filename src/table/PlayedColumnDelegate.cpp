#include "table/PlayedColumnDelegate.h"

#include "table/PlaylistTableModel.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

void PlayedColumnDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // The row's selection background first, so a selected row reads as one band.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, option.widget);

    const QVariant fraction = index.data(PlaylistTableModel::PlayedFractionRole);
    if (!fraction.isValid())
        return;
    // A plain bar rather than the style's progress bar: this cell is repainted on every tick
    // while music plays, and the style's gradients cost several times the rest of the tick.
    const int margin = std::max(2, option.rect.height() / 5);
    const QRect frame = option.rect.adjusted(margin, margin, -margin - 1, -margin - 1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->setBrush(option.palette.base());
    painter->drawRect(frame);
    const double heard = std::clamp(fraction.toDouble(), 0.0, 1.0);
    const int filled = int(std::lround((frame.width() - 1) * heard));
    if (filled > 0)
        painter->fillRect(QRect(frame.left() + 1, frame.top() + 1, filled, frame.height() - 1),
                          option.palette.highlight());
    painter->restore();
}
