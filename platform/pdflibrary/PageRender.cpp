#include "platform/pdflibrary/PageRender.h"

#include "platform/pdflibrary/BaseCodes.h"
#include "platform/pdflibrary/ErrorCodes.h"

#include <cmath>

namespace dpl {

namespace {

bool usableResolution(double dpi)
{
    return std::isfinite(dpi) && dpi > 0.0 && dpi <= 9600.0;
}

// Loads the page and runs it through a draw device onto target with the page's top-left corner at
// the target's origin. prepare(), when given, makes the target first, inside the same page run, so
// that a target too large for the memory cap counts as the page's fault.
template <typename Prepare>
int drawPage(fz_context* ctx, pdf_document* doc, int page, double dpi, fz_pixmap** target, Prepare&& prepare)
{
    pdf_page* loaded = nullptr;
    fz_device* device = nullptr;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(ctx, [&](fz_cookie* cookie) {
        loaded = pdf_load_page(ctx, doc, page - 1);
        const fz_rect bounds = pdf_bound_page(ctx, loaded);
        const float scale = float(dpi / 72.0);
        const fz_matrix ctm = fz_concat(fz_translate(-bounds.x0, -bounds.y0), fz_scale(scale, scale));
        prepare();
        device = fz_new_draw_device(ctx, ctm, *target);
        pdf_run_page(ctx, loaded, device, fz_identity, cookie);
        fz_close_device(ctx, device);
    });
    fz_drop_device(ctx, device);
    fz_drop_page(ctx, reinterpret_cast<fz_page*>(loaded));
    return pageRunError(outcome, RenderFailed);
}

} // namespace

int renderPageToCanvas(fz_context* ctx, pdf_document* doc, int page, double dpi, const QpCanvas* canvas)
{
    if (!canvas || !canvas->bits || canvas->width <= 0 || canvas->height <= 0 || !usableResolution(dpi))
        return InvalidArgument;
    if (canvas->width > maximumRenderSide || canvas->height > maximumRenderSide
        || canvas->stride < canvas->width * 4)
        return InvalidArgument;

    fz_pixmap* target = nullptr;
    const int error = drawPage(ctx, doc, page, dpi, &target, [&] {
        // Canvas pixels are 0xFFRRGGBB words, that is B, G, R, A in memory: a BGR pixmap with alpha.
        target = fz_new_pixmap_with_data(ctx, fz_device_bgr(ctx), canvas->width, canvas->height, nullptr, 1,
                                         canvas->stride, canvas->bits);
        fz_clear_pixmap_with_value(ctx, target, 255);
    });
    fz_drop_pixmap(ctx, target);
    return error;
}

int renderPageToPixmap(fz_context* ctx, pdf_document* doc, int page, double dpi, fz_pixmap** out)
{
    *out = nullptr;
    if (!usableResolution(dpi))
        return InvalidArgument;

    fz_irect area = {0, 0, 0, 0};
    pdf_page* loaded = nullptr;
    const bool measured = fzRun(ctx, [&] {
        loaded = pdf_load_page(ctx, doc, page - 1);
        const fz_rect bounds = pdf_bound_page(ctx, loaded);
        const float scale = float(dpi / 72.0);
        area = fz_round_rect(fz_transform_rect(fz_translate_rect(bounds, -bounds.x0, -bounds.y0), fz_scale(scale, scale)));
    });
    fz_drop_page(ctx, reinterpret_cast<fz_page*>(loaded));
    if (!measured)
        return RenderFailed;
    const long long width = (long long)area.x1 - area.x0;
    const long long height = (long long)area.y1 - area.y0;
    if (width < 1 || height < 1 || width > maximumRenderSide || height > maximumRenderSide
        || width * height > maximumRenderPixels)
        return InvalidArgument;

    fz_pixmap* pixmap = nullptr;
    const int error = drawPage(ctx, doc, page, dpi, &pixmap, [&] {
        pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), area, nullptr, 0);
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        const int resolution = int(std::lround(dpi));
        fz_set_pixmap_resolution(ctx, pixmap, resolution, resolution);
    });
    if (error) {
        fz_drop_pixmap(ctx, pixmap);
        return error;
    }
    *out = pixmap;
    return NoError;
}

} // namespace dpl
