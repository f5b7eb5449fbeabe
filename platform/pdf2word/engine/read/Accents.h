#pragma once

// Typesetters that lack a letter with its accent (TeX's standard fonts, troff's overstrike) draw
// the accent as a glyph of its own over the letter: "naïve" comes out of the page as "na¨ıve". A
// spacing accent that stands over a letter beside it in its line is composed with that letter
// into the one character a reader sees (Unicode's composed form), a dotless i or j under it
// taking its dot back.

#include "platform/pdf2word/engine/model/PageModel.h"

#include <QVector>

namespace p2w {

void composeAccents(QVector<TextLine>& lines);

} // namespace p2w
