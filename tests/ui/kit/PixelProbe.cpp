#include "tests/ui/kit/PixelProbe.h"

#include <cstdlib>

namespace {
bool near(QRgb pixel, const QColor& color, int tolerance)
{
    return std::abs(qRed(pixel) - color.red()) <= tolerance && std::abs(qGreen(pixel) - color.green()) <= tolerance
           && std::abs(qBlue(pixel) - color.blue()) <= tolerance && qAlpha(pixel) > 200;
}
} // namespace

int PixelProbe::count(const QImage& image, const QColor& color, const QRect& area, int tolerance)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRect box = area.isNull() ? img.rect() : area.intersected(img.rect());
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            n += near(img.pixel(x, y), color, tolerance) ? 1 : 0;
    return n;
}

int PixelProbe::firstColumn(const QImage& image, const QColor& color, int tolerance)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (near(img.pixel(x, y), color, tolerance))
                return x;
    return -1;
}

bool PixelProbe::sameWhereOpaque(const QImage& image, const QImage& picture)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QImage pic = picture.convertToFormat(QImage::Format_ARGB32);
    if (pic.isNull() || img.width() < pic.width() || img.height() < pic.height())
        return false;
    int opaque = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QRgb p = pic.pixel(x, y);
            if (qAlpha(p) < 255)
                continue;
            ++opaque;
            if (!near(img.pixel(x, y), QColor(p), 3))
                return false;
        }
    return opaque > 0;
}
