#include "platform/pdf2word/engine/read/GlyphPictures.h"

#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <cmath>
#include <cstring>

namespace p2w {

namespace {

// A picture holds at most this many pixels, and at most the page's at the reading resolution.
const double kMostPixels = 40e6;

bool finite(const fz_rect& box)
{
    return std::isfinite(box.x0) && std::isfinite(box.y0) && std::isfinite(box.x1) && std::isfinite(box.y1);
}

// Turns the glyph's baseline to run left to right.
fz_matrix uprightTurn(const fz_matrix& trm)
{
    if (!std::isfinite(trm.a) || !std::isfinite(trm.b) || (trm.a == 0 && trm.b == 0))
        return fz_identity;
    return fz_rotate(float(-std::atan2(trm.b, trm.a) * 180 / M_PI));
}

// Where the glyphs lie on the page, in the turned frame; empty when none lies on the page.
fz_rect turnedRegion(const QVector<UnmappedGlyph>& glyphs, const QVector<int>& which, const fz_rect& mediabox,
                     const fz_matrix& turn)
{
    fz_rect region = fz_empty_rect;
    for (int g : which) {
        const fz_rect box = fz_intersect_rect(glyphs[g].box, mediabox);
        if (finite(box) && !fz_is_empty_rect(box))
            region = fz_union_rect(region, fz_transform_rect(box, turn));
    }
    return region;
}

// The pixmap's samples into the picture, a row after the other; false without the memory.
bool copyInto(fz_context* ctx, fz_pixmap* pixmap, TextRecognizer::Picture* picture)
{
    const int width = fz_pixmap_width(ctx, pixmap);
    const int height = fz_pixmap_height(ctx, pixmap);
    picture->pixels.resize(width * height);
    if (picture->pixels.size() != width * height)
        return false;
    const unsigned char* samples = fz_pixmap_samples(ctx, pixmap);
    const ptrdiff_t stride = fz_pixmap_stride(ctx, pixmap);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture->pixels.data() + ptrdiff_t(y) * width, samples + y * stride, size_t(width));
    picture->width = width;
    picture->height = height;
    return true;
}

} // namespace

bool drawGlyphPicture(fz_context* ctx, const QVector<UnmappedGlyph>& glyphs, const fz_rect& mediabox, bool upright,
                      GlyphPicture* picture, QString* error)
{
    static const float black[1] = {0};
    if (picture->glyphs.isEmpty()) {
        *error = QStringLiteral("they cannot be drawn");
        return false;
    }
    const fz_matrix turn = upright ? uprightTurn(glyphs[picture->glyphs.front()].trm) : fz_identity;
    fz_rect region = turnedRegion(glyphs, picture->glyphs, mediabox, turn);
    if (fz_is_empty_rect(region)) {
        *error = QStringLiteral("they lie outside the page");
        return false;
    }
    region = expanded(region, readTuning().ocr.margin);
    float dpi = readTuning().ocr.readingDpi;
    const double pageMost = double(area(mediabox)) * (readTuning().ocr.readingDpi / 72) * (readTuning().ocr.readingDpi / 72);
    const double most = std::max(1.0, std::min(kMostPixels, pageMost));
    const double pixels = double(width(region)) * double(region.y1 - region.y0) * (dpi / 72) * (dpi / 72);
    if (pixels > most)
        dpi = float(dpi * std::sqrt(most / pixels));
    const float scale = dpi / 72;
    picture->toPixels = fz_concat(fz_concat(turn, fz_translate(-region.x0, -region.y0)), fz_scale(scale, scale));
    const fz_irect bounds = {0, 0, std::max(1, int(width(region) * scale)), std::max(1, int((region.y1 - region.y0) * scale))};
    picture->picture.dpi = std::max(1, qRound(dpi));

    fz_pixmap* pixmap = nullptr;
    fz_text* text = nullptr;
    fz_device* device = nullptr;
    const bool ok = fzRun(ctx, [&] {
        pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_gray(ctx), bounds, nullptr, 0);
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        text = fz_new_text(ctx);
        for (int g : picture->glyphs)
            fz_show_glyph(ctx, text, glyphs[g].font, glyphs[g].trm, glyphs[g].gid, ' ', 0, 0, FZ_BIDI_LTR, FZ_LANG_UNSET);
        device = fz_new_draw_device(ctx, picture->toPixels, pixmap);
        fz_fill_text(ctx, device, text, fz_identity, fz_device_gray(ctx), black, 1, fz_default_color_params);
        fz_close_device(ctx, device);
    });
    fz_drop_device(ctx, device);
    fz_drop_text(ctx, text);
    const bool copied = ok && copyInto(ctx, pixmap, &picture->picture);
    if (!ok)
        *error = QString::fromUtf8(fz_caught_message(ctx));
    else if (!copied)
        *error = QStringLiteral("no memory for their picture");
    fz_drop_pixmap(ctx, pixmap);
    return copied;
}

} // namespace p2w

namespace p2w {

bool showsInk(const GlyphPicture& picture, const fz_rect& box)
{
    const TextRecognizer::Picture& drawn = picture.picture;
    if (drawn.pixels.isEmpty())
        return true;
    // The middle half across and the middle four fifths down: a neighbour's ink reaches in little.
    const fz_rect middle = fz_make_rect(box.x0 + (box.x1 - box.x0) / 4, box.y0 + (box.y1 - box.y0) / 10,
                                        box.x1 - (box.x1 - box.x0) / 4, box.y1 - (box.y1 - box.y0) / 10);
    const fz_irect pixels = fz_intersect_irect(fz_round_rect(fz_transform_rect(middle, picture.toPixels)),
                                               fz_make_irect(0, 0, drawn.width, drawn.height));
    for (int y = pixels.y0; y < pixels.y1; ++y) {
        const uchar* row = reinterpret_cast<const uchar*>(drawn.pixels.constData()) + ptrdiff_t(y) * drawn.width;
        for (int x = pixels.x0; x < pixels.x1; ++x) {
            if (row[x] < readTuning().ocr.ink)
                return true;
        }
    }
    return false;
}

} // namespace p2w
