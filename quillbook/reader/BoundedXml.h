#pragma once

#include <QDomDocument>

// Parses XML into a DOM tree with namespace processing, but only when its elements nest no deeper
// than the bound: the tree and everything that walks it recursively stay within the stack.
namespace BoundedXml {

bool setContent(QDomDocument& document, const QByteArray& bytes, int maxDepth = 0);

// The same, but built from a stream reader so that text nodes holding only white space are kept:
// QDomDocument's own parser drops them, and with them the blanks between inline elements
// ("<i>one</i> <b>two</b>"). Comments, processing instructions and the document type are left out.
bool setContentKeepingSpace(QDomDocument& document, const QString& text, int maxDepth = 0);

} // namespace BoundedXml
