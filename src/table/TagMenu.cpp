#include "table/TagMenu.h"

#include <QPainter>

TagMenu::TagMenu(QWidget* parent) : QMenu(tr("Tag"), parent) {
    for (const QString& title : titles()) {
        QAction* action = addAction(letterIcon(title, palette()), title);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, action, title] {
            // A tag is a toggle on the entries, not a state of the menu.
            action->setChecked(false);
            emit tagChosen(title);
        });
    }
}

QStringList TagMenu::titles() {
    return {QStringLiteral("R"), QStringLiteral("B"), QStringLiteral("W"), QStringLiteral("T"),
            QStringLiteral("F"), QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("X")};
}

QIcon TagMenu::letterIcon(const QString& letter, const QPalette& palette) {
    const int side = 32;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::WindowText), 2.5));
    painter.drawRoundedRect(QRectF(2, 2, side - 4, side - 4), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(side * 2 / 3);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, letter);
    painter.end();
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::On);
    return icon;
}
