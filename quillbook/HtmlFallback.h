#pragma once

#include <QByteArray>

// A page that is not well-formed XHTML is printed as HTML instead. Two things of the XML page
// would spoil that: the internal subset of its document type (an HTML parser prints its "]>"
// as text), and elements nested thousands deep (which an HTML parser builds and lays out in time
// that grows with the square of their number).
namespace HtmlFallback {

// The page with the internal subset of its document type left out, and, when boundNesting is
// set, with the start and end tags of elements nested deeper than maxDepth left out (their text
// stays).
QByteArray prepare(const QByteArray& page, bool boundNesting, int maxDepth = 256);

} // namespace HtmlFallback
