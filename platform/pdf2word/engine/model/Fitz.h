#pragma once

// MuPDF's headers and the one way the engine calls into MuPDF: the base's error frame.

#include "platform/mupdf/FitzFrame.h"

namespace p2w {

using qpmupdf::fzRun;

// The box a stroke inks: its path widened by half its line (a hairline, of width 0, is drawn one
// device pixel wide: half a point here). MuPDF's own bound of a stroke reaches as far as the
// sharpest miter could (ten times the line's width for a hairline), past where lines at a
// drawing's edge (a chart's frame and axes) really ink.
inline fz_rect strokedBox(fz_context* ctx, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm)
{
    const float half = stroke ? stroke->linewidth * fz_matrix_expansion(ctm) / 2 : 0;
    const float reach = half > 0.5f ? half : 0.5f;
    const fz_rect box = fz_bound_path(ctx, path, nullptr, ctm);
    return fz_make_rect(box.x0 - reach, box.y0 - reach, box.x1 + reach, box.y1 + reach);
}

} // namespace p2w
