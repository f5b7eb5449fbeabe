#pragma once

// Pictures of a page's glyphs without a Unicode map, for OCR: only those glyphs, black on white at
// 300 dpi, and only what lies on the page, so that a picture is never larger than the page drawn
// at 300 dpi (a hostile glyph box as large as the coordinate space asks for no more).

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"
#include "platform/pdf2word/engine/read/TextRecognizer.h"

#include <QString>
#include <QVector>

namespace p2w {

struct GlyphPicture
{
    QVector<int> glyphs; // what it shows: indices into the page's unmapped glyphs
    int line = -1;       // the line they stand in; -1 for glyphs of several lines
    fz_matrix toPixels;  // page points to pixels of the picture
    TextRecognizer::Picture picture;
};

// Draws picture->glyphs of the page's unmapped glyphs; upright: turned so that the first glyph's
// baseline runs left to right (a turned line reads as any other). False, with the reason, when
// none of them lies on the page or MuPDF failed.
bool drawGlyphPicture(fz_context* ctx, const QVector<UnmappedGlyph>& glyphs, const fz_rect& mediabox, bool upright,
                      GlyphPicture* picture, QString* error);

// Whether the picture shows ink within the middle of box (a glyph's place on the page): a glyph
// that draws nothing there (a space whose box a producer made as large as its font's) is no text
// left out when OCR reads no word over it.
bool showsInk(const GlyphPicture& picture, const fz_rect& box);

} // namespace p2w
