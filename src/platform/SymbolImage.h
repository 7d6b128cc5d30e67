#pragma once
// The program's symbol pictures ("play.fill", "z.square", "dance-active", ...): SVG files drawn for
// this project and compiled in under ":/icons/". Most are template images, drawn in black, whose
// shape is painted in whatever colour the place that shows them uses.

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <optional>

// The symbol rendered to fit `size`, proportionally and centred; tinted with `tint` when given
// (template images), in its own colours otherwise. A null image when there is no such symbol.
QImage symbolImage(const QString& name, QSize size, std::optional<QColor> tint = std::nullopt);

// The symbol as an icon for buttons and tool bars, rendered sharp at the common sizes.
QIcon symbolIcon(const QString& name, std::optional<QColor> tint = std::nullopt);
