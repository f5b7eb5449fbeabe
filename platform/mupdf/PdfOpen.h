#pragma once

#include "platform/mupdf/FitzFrame.h"

#include <string>

namespace qpmupdf {

enum class OpenResult {
    Opened,
    Missing,        // no such file
    Unreadable,     // a folder, no permission, a read error
    Damaged,        // not a PDF, damaged beyond repair, or without any page
    PasswordNeeded, // the password is needed and was not given, or is wrong
};

// Reads a PDF file completely into memory (so the file may be replaced while the document lives;
// its bytes do not count against the context's memory cap) and opens it: MuPDF repairs a damaged
// cross-reference table (a file that ends in the middle of an object is read up to the last
// complete one), repairPageTree a page tree that is still unusable. A file opens without
// a password when the password is empty and the empty user password opens it, or when its
// encryption covers only embedded files (pages, streams and strings are not encrypted).
// On Opened, *out is the document (owned by the caller).
OpenResult openPdf(fz_context* ctx, const std::string& path, const std::string& password, pdf_document** out);

} // namespace qpmupdf
