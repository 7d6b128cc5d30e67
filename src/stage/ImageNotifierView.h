#pragma once
// Flashes a symbol (play, pause, the remote) as large as the window allows, drawn as a template
// image: only its shape counts, painted in the notifier's foreground colour.

#include "stage/NotifierView.h"

#include <QIcon>
#include <QImage>

class ImageNotifierView : public NotifierView {
    Q_OBJECT
public:
    explicit ImageNotifierView(QWidget* parent = nullptr,
                               std::chrono::milliseconds fadeDuration = defaultFadeDuration);

    // The fading copy, or none when the template has no parent to cover. An SVG file or resource
    // comes as QIcon(path) and is rendered at the overlay's size rather than scaled up.
    ImageNotifierView* show(const QImage& image);
    ImageNotifierView* show(const QIcon& icon);

    // source scaled proportionally to fit box, centred in it, its shape filled with color.
    static QImage tinted(const QImage& source, QSize box, const QColor& color);

    const QImage& image() const { return _image; }

protected:
    void drawContent(QPainter& painter) override;

private:
    QImage _image;
};
