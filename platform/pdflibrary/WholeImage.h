#pragma once

#include <cstddef>

// Whether an image file holds its whole picture. A file cut short (a download or a copy that
// stopped) still opens: its header gives the size, and a decoder fills what is missing with grey
// or black, so the page it converts to is nearly blank. Such a file is not converted.
namespace dpl {

// JPEG: the markers run to the end-of-image marker; where that marker is missing, a sequential
// JPEG still counts as whole when decoding it reaches its last row without running out of data
// (some writers leave the marker out). A progressive JPEG without it lacks its last scans.
bool isWholeJpeg(const unsigned char* data, size_t size);

// PNG: every chunk lies complete in the file, up to the end chunk; where the end chunk is
// missing, the compressed rows must still run to their end.
bool isWholePng(const unsigned char* data, size_t size);

// BMP: the file holds the pixel rows its header promises (uncompressed), or the run-length codes
// reach their end-of-bitmap code (RLE4, RLE8).
bool isWholeBmp(const unsigned char* data, size_t size);

} // namespace dpl
