#pragma once

// A scan with a text layer holds more than its text: the figures, photos, signatures and stamps
// of the scanned page. Its text areas leave the page (the layer gives their text), the rest stays:
// the scan's ink outside the boxes of the page's lines, grouped into regions, each region that is
// more than rules and frames a picture at its place (a crop of the scan).

#include "platform/pdf2word/engine/Fitz.h"
#include "platform/pdf2word/engine/PageModel.h"

#include <QVector>

namespace p2w {

// Where a scan holds something besides its text, in page space: the regions of its ink outside
// the lines' boxes that are no rule or frame. None when the scan cannot be decoded; stops early,
// with what was found, when the cookie is aborted.
QVector<fz_rect> scanFigureRegions(fz_context* ctx, const Shape& scan, const QVector<TextLine>& lines,
                                   const fz_cookie* cookie);

// Replaces each scan (scans[i] for shape i) by pictures of its figure regions; a scan that cannot
// be decoded leaves the page whole.
void keepScanFigures(fz_context* ctx, const QVector<TextLine>& lines, const QVector<bool>& scans,
                     PageGraphics* graphics, const fz_cookie* cookie);

} // namespace p2w
