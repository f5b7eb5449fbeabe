#pragma once

#include "platform/pdflibrary/LibraryFitz.h"

#include <string>

namespace dpl {

class Document;

// Opens a PDF file as the MuPDF base does (qpmupdf::openPdf). Returns 0 and sets *out, or
// FileNotFound, CannotOpenInput, DamagedFile (also for a file without any page) or InvalidPassword.
int openPdfFile(fz_context* ctx, const std::string& path, const std::string& password, pdf_document** out);

// How writeDocument treats encryption: as the document has it (its own or what Encrypt asked
// for), or not at all.
enum class Encryption {
    AsRequested,
    Remove
};

// Writes the document to path through a temporary file; returns 0 or an error code.
int writeDocument(fz_context* ctx, Document& document, const std::string& path, Encryption encryption);

} // namespace dpl
