#pragma once
// Flashes a symbol (play, pause, the remote) as large as the window allows, drawn as a template
// image: only its shape counts, painted in the notifier's foreground colour.

#include "stage/NotifierView.h"

#include <QImage>

class ImageNotifierView : public NotifierView {
    Q_OBJECT
public:
    explicit ImageNotifierView(QWidget* parent = nullptr,
                               std::chrono::milliseconds fadeDuration = defaultFadeDuration);

    // The fading copy, or none when the template has no parent to cover.
    ImageNotifierView* show(const QImage& image);

    // source scaled proportionally to fit box, centred in it, its shape filled with color.
    static QImage tinted(const QImage& source, QSize box, const QColor& color);

    const QImage& image() const { return _image; }

protected:
    void drawContent(QPainter& painter) override;

private:
    QImage _image;
};
