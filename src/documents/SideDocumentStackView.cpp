#include "documents/SideDocumentStackView.h"

#include "documents/SideDocumentStack.h"

#include <QFileInfo>
#include <QToolButton>
#include <QVBoxLayout>

SideDocumentStackView::SideDocumentStackView(SideDocumentStack& stack, QWidget* parent)
    : QWidget(parent), stack(stack), sideStack(new QVBoxLayout(this)) {
    sideStack->setContentsMargins(0, 0, 0, 0);
    sideStack->setAlignment(Qt::AlignTop);
    connect(&stack, &SideDocumentStack::rebuilt, this, &SideDocumentStackView::rebuild);
    rebuild();
}

void SideDocumentStackView::rebuild() {
    for (QToolButton* button : shownButtons) {
        // Later: the click that led here may still be running inside this button.
        button->hide();
        button->deleteLater();
    }
    shownButtons.clear();

    QToolButton* add = addButton("+", "Add an associated document");
    QFont font = add->font();
    font.setPointSize(24);
    add->setFont(font);
    add->setAutoRaise(true);
    connect(add, &QToolButton::clicked, &stack, &SideDocumentStack::sideStackAddButtonPressed);

    for (const auto& document : stack.documents()) {
        const QString fileName = QFileInfo(document->url.path()).fileName();
        // A file without an extension has an empty tag; its name keeps the button visible.
        QToolButton* button =
            addButton(document->tag.isEmpty() ? fileName : document->tag, fileName);
        connect(button, &QToolButton::clicked, &stack,
                [this, document] { stack.buttonClicked(document); });
    }
}

QToolButton* SideDocumentStackView::addButton(const QString& title, const QString& toolTip) {
    auto* button = new QToolButton(this);
    button->setText(title);
    button->setToolTip(toolTip);
    sideStack->addWidget(button);
    shownButtons.push_back(button);
    return button;
}
