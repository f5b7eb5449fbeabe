#pragma once

// Forms drawn inside forms, and Type 3 glyphs that draw Type 3 glyphs, nest: a page whose nesting
// runs deeper than MuPDF can follow (or a Type 3 font whose glyphs draw themselves, without end)
// stops MuPDF from running the whole page ("exception stack overflow!"). What lies deeper than a
// depth MuPDF runs is taken out of the resources of the level that draws it, as is a form or Type
// 3 font drawn inside itself, and the page runs again: the levels above it draw.

#include "platform/pdf2word/engine/model/Fitz.h"

#include <QStringList>

namespace p2w {

// Takes out of the page's resources (and of the forms, Type 3 fonts and patterns they draw) what
// nests deeper than the deepest level kept, and what draws itself; what was taken out goes to
// notes. False when there was nothing.
bool cutDeepNesting(fz_context* ctx, pdf_document* document, int pageIndex, QStringList* notes);

} // namespace p2w
