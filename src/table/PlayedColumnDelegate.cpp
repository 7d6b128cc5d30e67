#include "table/PlayedColumnDelegate.h"

#include "table/PlaylistTableModel.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
QRect barFrame(const QRect& cell) {
    const int margin = std::max(2, cell.height() / 5);
    return cell.adjusted(margin, margin, -margin - 1, -margin - 1);
}

// The bar's filled length in pixels; -1 for a cell without a bar.
int filledLength(const QModelIndex& index, const QRect& cell) {
    const QVariant fraction = index.data(PlaylistTableModel::PlayedFractionRole);
    if (!fraction.isValid())
        return -1;
    const double heard = std::clamp(fraction.toDouble(), 0.0, 1.0);
    return int(std::lround((barFrame(cell).width() - 1) * heard));
}
} // namespace

bool PlayedColumnDelegate::wouldChange(const QModelIndex& index, const QRect& cell) const {
    const auto last = painted.constFind({index.row(), index.column()});
    return last == painted.constEnd() || last->first != cell ||
           last->second != filledLength(index, cell);
}

void PlayedColumnDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // The row's selection background first, so a selected row reads as one band.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, option.widget);

    const int filled = filledLength(index, option.rect);
    painted.insert({index.row(), index.column()}, {option.rect, filled});
    if (filled < 0)
        return;
    // A plain bar rather than the style's progress bar: this cell is repainted while music
    // plays, and the style's gradients cost several times the rest of the tick.
    const QRect frame = barFrame(option.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->setBrush(option.palette.base());
    painter->drawRect(frame);
    if (filled > 0)
        painter->fillRect(QRect(frame.left() + 1, frame.top() + 1, filled, frame.height() - 1),
                          option.palette.highlight());
    painter->restore();
}
