#pragma once

#include "platform/mupdf/FitzContext.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the PDF fuzz targets share: the input written to a file (the base and the engine open PDFs
// by path), a private folder for outputs, and opening as the PDF library and the PDF-to-Word
// engine open a file.
namespace PdfFuzzing {

// Writes the input to this process's input file; its path.
const std::string& writeInput(const uint8_t* data, size_t size);

// A folder of this process's own, empty at the start, removed at exit.
const std::string& outputFolder();

struct OpenedInput
{
    qpmupdf::ContextPtr context;
    pdf_document* document = nullptr; // null when the base refused the file

    OpenedInput() = default;
    OpenedInput(OpenedInput&&) = default;
    ~OpenedInput();
};

// Writes the input and opens it with openPdf (no password) in a fresh context. An opened
// document has at least one page: openPdf promises it, and a broken promise aborts.
OpenedInput open(const uint8_t* data, size_t size);

// A broken promise of the code under test: report it and let the fuzzer keep the input.
[[noreturn]] void fail(const char* what);

} // namespace PdfFuzzing
