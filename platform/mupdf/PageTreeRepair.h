#pragma once

#include "platform/mupdf/FitzFrame.h"

namespace qpmupdf {

// Makes the page tree of a freshly opened document usable. MuPDF already repairs a broken
// cross-reference table on its own, but a page tree whose top-level object is wrong, whose page
// counts disagree with its leaves or that loops stays unreadable after that. Such a tree is
// replaced by a flat one: made of the pages the tree still reaches when only its counts are wrong,
// otherwise of every page object found in the file, in object order (what other readers recover),
// untyped page objects included.
// Returns the number of pages afterwards (0 when none could be found).
int repairPageTree(fz_context* ctx, pdf_document* doc);

} // namespace qpmupdf
