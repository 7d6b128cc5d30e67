#pragma once
// The big type of the text notifier: a bold face whose digits share one width, sized so the
// message fills the overlay.

#include <QFont>
#include <QSizeF>
#include <QString>

class NotifierFont {
public:
    static constexpr double measureSize = 12.0;

    // The face at measureSize points.
    static QFont base();

    // The point size at which text measured tw × th at measureSize fits a W × H box: the text's
    // width fits W − 5, or 0.77 of its line height fits H − 5, whichever gives the smaller size.
    // Never below 1 point, so an empty text or a collapsed box still yields a usable font.
    static double fittedSize(QSizeF measured, QSizeF box);

    // base() resized for text in box.
    static QFont fitted(const QString& text, QSizeF box);
};
