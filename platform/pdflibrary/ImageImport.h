#pragma once

#include "Document.h"

#include <string>

namespace dpl {

// Reads an image file and adds it to the document as an image XObject: JPEG data is embedded as it
// is, without decoding and re-encoding; other formats (PNG, BMP, TIFF, GIF, ...) are decoded and
// stored losslessly (Flate), an alpha channel becoming a soft mask. Returns 0 and fills image, or
// FileNotFound, CannotOpenInput or UnreadableImage.
int importImageFile(fz_context* ctx, pdf_document* doc, const std::string& path, DocumentImage& image);

// The number of images (pages, frames) in an image file: TIFF files may hold several, other
// readable images count as one; 0 when the file cannot be read.
int imageFilePageCount(fz_context* ctx, const std::string& path);

} // namespace dpl
