#pragma once

// Text a page hides is a scan's recognised text (drawn invisibly, in a font without glyphs, or
// under the scan's picture). It is the page's text where the page shows none of its own; the scan
// it lies on would only repeat it as a picture and is left out.

#include "platform/pdf2word/engine/PageModel.h"

#include <QVector>

namespace p2w {

// The hidden lines that do not lie over shown text.
QVector<TextLine> hiddenLinesToKeep(const QVector<TextLine>& shown, const QVector<TextLine>& hidden);

// Takes the pictures out of graphics that are the scan of the kept hidden lines: a picture of
// most of the page they lie on, or a smaller one they cover a good part of.
void dropScannedPictures(const QVector<TextLine>& keptHidden, fz_rect mediabox, PageGraphics* graphics);

} // namespace p2w
