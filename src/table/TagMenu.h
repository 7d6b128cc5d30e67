#pragma once
// The tag menu: eight single-letter tags, each shown as a small picture of its letter. Choosing
// one toggles it on the selected entries (EntryCommands::actionTagEntry).

#include <QMenu>

class TagMenu : public QMenu {
    Q_OBJECT
public:
    explicit TagMenu(QWidget* parent = nullptr);

    static QStringList titles();
    // The letter drawn into a small square, readable at menu size.
    static QIcon letterIcon(const QString& letter, const QPalette& palette);

signals:
    void tagChosen(const QString& tag);
};
