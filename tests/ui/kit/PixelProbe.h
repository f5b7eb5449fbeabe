#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// Finds painted colours in a rendered widget without depending on font metrics.
namespace PixelProbe {

// Pixels within a small distance of color (anti-aliased edges excluded), inside area when given.
int count(const QImage& image, const QColor& color, const QRect& area = QRect(), int tolerance = 12);
// The left-most column that holds such a pixel, or -1.
int firstColumn(const QImage& image, const QColor& color, int tolerance = 12);

// Whether image shows picture at its top-left corner wherever picture is fully opaque.
bool sameWhereOpaque(const QImage& image, const QImage& picture);

} // namespace PixelProbe
