#pragma once

// Right-to-left text. A PDF places Arabic and Hebrew glyphs where they are seen, left to right;
// the document needs them in the order they are read. GNU FriBidi's bidirectional algorithm,
// run over the seen order, gives the read order back (levels of runs mirror themselves), numbers
// and Latin words inside keeping their own direction.

#include "platform/pdf2word/engine/model/PageModel.h"

namespace p2w {

// True for a character written right to left (Hebrew, Arabic, Syriac, Thaana and their forms).
bool isRightToLeft(char32_t c);

// Puts glyphs that stand in seen order (left to right on the page) into read order; rtl says
// whether the line as a whole reads right to left.
void toReadingOrder(QVector<Glyph>& glyphs, bool rtl);

} // namespace p2w
