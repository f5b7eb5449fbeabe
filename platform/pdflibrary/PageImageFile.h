#pragma once

#include "platform/pdflibrary/LibraryFitz.h"

#include <string>

namespace dpl {

// The image formats RenderPageToFile writes, by the option codes its callers pass.
enum class PageImageFormat : int {
    Bmp = 0,
    Jpeg = 1,
    Wmf = 2,
    Eps = 4,
    Png = 5,
    Gif = 6,
    Tiff = 7,
};

bool isPageImageFormat(int code);

// Renders a page (1-based) at dpi and writes it to path in the given format, replacing the file
// only once the new one is complete. Returns 0, CannotOpenOutput or CannotReplaceOutput when the
// file could not be written, or another error code when rendering or encoding failed.
int writePageImage(fz_context* ctx, pdf_document* doc, int page, double dpi, PageImageFormat format, const std::string& path);

} // namespace dpl
