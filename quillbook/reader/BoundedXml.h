#pragma once

#include <QDomDocument>

// Parses XML into a DOM tree with namespace processing, but only when its elements nest no deeper
// than the bound: the tree and everything that walks it recursively stay within the stack.
namespace BoundedXml {

bool setContent(QDomDocument& document, const QByteArray& bytes, int maxDepth = 0);

// What setContentKeepingSpace left out of the tree.
struct LeftOut
{
    int elements = 0; // elements nested deeper than the bound (their text stays)
    int entities = 0; // references to entities neither the document nor HTML declares
};

// The same, but built from a stream reader so that text nodes holding only white space are kept:
// QDomDocument's own parser drops them, and with them the blanks between inline elements
// ("<i>one</i> <b>two</b>"). Comments, processing instructions and the document type are left out.
// Nesting deeper than the bound is flattened instead of refused: the elements below the bound are
// left out, and their text goes to the element at the bound, a blank where one of their tags
// stood. A reference to an entity the document does not declare reads as the character HTML
// names by it ("&nbsp;", "&mdash;"), or as nothing where HTML has no such entity. What is left
// out is counted in leftOut.
bool setContentKeepingSpace(QDomDocument& document, const QString& text, int maxDepth = 0, LeftOut* leftOut = nullptr);

// The text without the internal subset of its document type ("<!DOCTYPE html [ ... ]>" becomes
// "<!DOCTYPE html>"), and so without the entities it declares; text is a QByteArray or a QString.
template <typename Text>
Text withoutInternalSubset(const Text& text)
{
    const int doctype = text.toLower().indexOf("<!doctype");
    if (doctype < 0)
        return text;
    const int open = text.indexOf('[', doctype);
    const int close = text.indexOf('>', doctype);
    if (open < 0 || (close >= 0 && close < open))
        return text;
    const int end = text.indexOf("]>", open);
    if (end < 0)
        return text;
    return text.left(open) + text.mid(end + 1);
}

} // namespace BoundedXml
