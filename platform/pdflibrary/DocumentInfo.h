#pragma once

#include "platform/pdflibrary/LibraryFitz.h"

#include <string>

namespace dpl {

// Document information entries by the keys GetInformation and SetInformation take: 1 Author,
// 2 Title, 3 Subject, 4 Keywords, 5 Creator, 6 Producer, 7 CreationDate, 8 ModDate. Null for any
// other key.
pdf_obj* informationKeyName(int key);

// The entry as UTF-8 (empty when absent). Returns 0 or an error code.
int readInformation(fz_context* ctx, pdf_document* doc, int key, std::string* value);
// Sets the entry from UTF-8 text, stored as PDFDocEncoding where it fits and UTF-16 otherwise.
int writeInformation(fz_context* ctx, pdf_document* doc, int key, const std::string& value);

// Security information by item: 0 gives 1 when the document is encrypted and 0 otherwise; 5 gives
// the revision of its security handler (0 when unencrypted). False for other items.
bool securityItem(fz_context* ctx, pdf_document* doc, int item, int* value);

// The number of distinct fonts the pages use, counting fonts of form XObjects drawn on them.
int countFonts(fz_context* ctx, pdf_document* doc);

// The text of a page (1-based) in reading order, as UTF-8. Returns 0 or an error code.
int pageText(fz_context* ctx, pdf_document* doc, int page, std::string* text);

} // namespace dpl
