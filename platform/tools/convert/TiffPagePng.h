#pragma once

#include <string>

// What became of a request to write one TIFF page as a PNG file.
enum class TiffPageOutcome {
    Written,    // the PNG is complete at the output path
    Unreadable, // no such page, or the page does not decode: nothing is left at the output path
    NotHandled, // a kind of page left to the full image tool; nothing was written
};

// Writes page `page` (counted from 0) of a TIFF file as a PNG file of the page's own kind: 1-bit
// grey for a bilevel page, 8-bit grey, a palette of the page's depth, or 8-bit RGB, with the
// page's resolution in the PNG's pHYs chunk as ImageMagick writes it. Pages in tiles, with extra
// samples (alpha), in separate planes, with 16 or more bits a sample, or in other colour models
// (CMYK, YCbCr, Lab, ...) are NotHandled.
TiffPageOutcome writeTiffPageAsPng(const std::string& tiffPath, int page, const std::string& pngPath);

// The number of pages (directories) of a TIFF file; 0 when it does not open.
int tiffPageCount(const std::string& tiffPath);

// The pixels that pages [first, end) of a TIFF file declare (width times height, as their
// headers say), read from the headers alone: the largest page and all of them together. A page
// that is missing or names no size counts as none.
struct TiffDeclaredPixels
{
    long long largestPage = 0;
    long long total = 0;
};
TiffDeclaredPixels tiffDeclaredPixels(const std::string& tiffPath, int first, int end);
