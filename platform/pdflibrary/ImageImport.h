#pragma once

#include "platform/pdflibrary/LibraryDocument.h"

#include <string>

namespace dpl {

// Reads an image file as far as its header: size, resolution (96 dpi when the file states none)
// and format, which the engine must know. The pixels stay undecoded in image.source until
// storeImage. Returns 0, or FileNotFound, CannotOpenInput or UnreadableImage (also for a JPEG,
// PNG or BMP file that holds only part of its picture, see WholeImage.h).
int openImageFile(fz_context* ctx, const std::string& path, DocumentImage& image);

// Adds an opened image to the document as an image XObject and lets go of its source: JPEG data
// is embedded as it is, without decoding and re-encoding; other formats (PNG, BMP, TIFF, GIF, ...)
// are decoded and stored losslessly (Flate), an alpha channel becoming a soft mask and a picture
// of black and white alone taking one bit a pixel. Returns 0, or UnreadableImage when the pixels
// do not decode.
int storeImage(fz_context* ctx, pdf_document* doc, DocumentImage& image);

// The number of images (pages, frames) in an image file: TIFF files may hold several, other
// readable images count as one; 0 when the file cannot be read.
int imageFilePageCount(fz_context* ctx, const std::string& path);

} // namespace dpl
