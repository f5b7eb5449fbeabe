#pragma once

class QWebElement;

// A forced page break with nothing shown before it (a chapter whose heading starts a new page,
// an empty element that breaks the page at the top) or nothing after it prints an empty page of
// its own: the first page of the chapter's PDF, or the last. These breaks are set to "auto"
// before the page is printed; the breaks between things shown stay as the book has them.
namespace PageBreaks {

// Drops the breaks at the start and at the end of what body shows.
void dropEmptyPages(const QWebElement& body);

} // namespace PageBreaks
