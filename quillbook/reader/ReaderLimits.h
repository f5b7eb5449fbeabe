#pragma once

#include <QtGlobal>

// Bounds that keep a hostile book from filling the disk or the memory. Real books stay far
// below them.
namespace ReaderLimits {

// What an archive may unpack to, in bytes and in entries.
constexpr qint64 unpackedBytes = qint64(1) << 30;
constexpr int archiveEntries = 20000;

// The size of a book file that is read whole into memory (FB2, MOBI).
constexpr qint64 bookFileBytes = qint64(256) << 20;

// How deep the elements of an XML book may nest.
constexpr int xmlDepth = 256;

// The pixels of one picture that is decoded into memory.
constexpr qint64 imagePixels = qint64(64) << 20;

// The pixels of a picture as it is printed: about a full A4 page at 300 dpi. A reader that
// decodes its pictures anyway scales larger ones down to this, so that printing them takes
// memory in proportion to the page rather than to the picture.
constexpr qint64 printedPixels = qint64(8) << 20;

} // namespace ReaderLimits
