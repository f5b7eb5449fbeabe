#pragma once

#include "platform/pdflibrary/LibraryFitz.h"
#include "platform/wintypes/WinTypes.h"

namespace dpl {

// Rendering caps: a side longer than this or more pixels than that would exhaust memory (and JPEG
// cannot hold more than 65500 pixels a side); such requests fail instead.
constexpr int maximumRenderSide = 65000;
constexpr long long maximumRenderPixels = 400LL * 1000 * 1000;

// Renders a page (1-based) at dpi into the canvas behind a device context: the page's top-left
// corner at the canvas origin, clipped to the canvas, on white paper that fills the whole canvas.
// Returns 0 or an error code.
int renderPageToCanvas(fz_context* ctx, pdf_document* doc, int page, double dpi, const QpCanvas* canvas);

// Renders a page (1-based) at dpi into a new RGB pixmap on white paper that covers the page, with
// the resolution recorded in it. Returns 0 and sets *out (owned by the caller) or an error code.
int renderPageToPixmap(fz_context* ctx, pdf_document* doc, int page, double dpi, fz_pixmap** out);

} // namespace dpl
