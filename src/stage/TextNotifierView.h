#pragma once
// Flashes a short text (a number, a speed) in type as large as the window allows.

#include "stage/NotifierView.h"

class TextNotifierView : public NotifierView {
    Q_OBJECT
public:
    explicit TextNotifierView(QWidget* parent = nullptr,
                              std::chrono::milliseconds fadeDuration = defaultFadeDuration);

    // The fading copy, or none when the template has no parent to cover.
    TextNotifierView* show(const QString& text);

    QString text() const { return _text; }

protected:
    void drawContent(QPainter& painter) override;

private:
    QString _text;
};
