#include "shell/PlayedColumnDelegate.h"

#include "shell/PlaylistTableModel.h"

#include <QApplication>
#include <QPainter>
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
    QStyleOptionProgressBar bar;
    bar.initFrom(option.widget);
    const int margin = std::max(2, option.rect.height() / 5);
    bar.rect = option.rect.adjusted(margin, margin, -margin, -margin);
    bar.state = option.state | QStyle::State_Horizontal;
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = int(std::lround(std::clamp(fraction.toDouble(), 0.0, 1.0) * 100.0));
    bar.textVisible = false;
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
}
