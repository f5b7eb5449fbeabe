#pragma once

#include <QString>

// The HTML pages that readers write for printing: UTF-8 text without a byte-order mark.
namespace BookPage {

// The fixed start of a page that carries its own body markup after it.
extern const char head[];
// The fixed end of such a page.
extern const char tail[];

// Writes text to path (replacing what was there). False, with no file left behind, when the file
// cannot be created or written completely.
bool write(const QString& path, const QString& text);

} // namespace BookPage
