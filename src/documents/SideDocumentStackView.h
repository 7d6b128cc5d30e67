#pragma once
// The vertical stack of side-document buttons beside the displays: the add button first, then one
// button per document of the current entry, titled with its tag. Clicks go to the stack.

#include <QWidget>
#include <vector>

class QToolButton;
class QVBoxLayout;
class SideDocumentStack;

class SideDocumentStackView : public QWidget {
    Q_OBJECT
public:
    explicit SideDocumentStackView(SideDocumentStack& stack, QWidget* parent = nullptr);

    void rebuild();

    // The add button, then one button per document, as shown now.
    const std::vector<QToolButton*>& buttons() const { return shownButtons; }

private:
    QToolButton* addButton(const QString& title, const QString& toolTip);

    SideDocumentStack& stack;
    QVBoxLayout* sideStack;
    std::vector<QToolButton*> shownButtons;
};
