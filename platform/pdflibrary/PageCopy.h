#pragma once

#include "platform/pdflibrary/LibraryFitz.h"

#include <string>
#include <vector>

namespace dpl {

// Parses a page range list such as "1-3, 5, 7-9" against a document of pageCount pages into the
// page numbers it names, in order (a page named twice is copied twice). Spaces around numbers are
// allowed; an empty list or item, a page outside 1..pageCount or a range that runs backwards makes
// the list invalid (false).
bool parseRangeList(const std::string& text, int pageCount, std::vector<int>* pages);

// Appends copies of the given pages (1-based) of source to target, sharing the resources they have
// in common. Annotations, outlines and form fields are not copied. Returns 0 or an error code.
int copyPages(fz_context* ctx, pdf_document* target, pdf_document* source, const std::vector<int>& pages);

// A new document holding copies of the given pages of source, with its document information.
// Returns 0 and sets *out (owned) or an error code.
int documentFromPages(fz_context* ctx, pdf_document* source, const std::vector<int>& pages, pdf_document** out);

} // namespace dpl
