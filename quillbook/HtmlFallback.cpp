#include "quillbook/HtmlFallback.h"

#include "quillbook/reader/BoundedXml.h"

#include <QByteArrayList>

namespace HtmlFallback {

namespace {

// Elements that never hold content, so their start tags open nothing.
bool isVoid(const QByteArray& name)
{
    static const QByteArrayList names = {"area", "base", "br", "col", "embed", "hr", "img", "input",
                                         "link", "meta", "param", "source", "track", "wbr"};
    return names.contains(name.toLower());
}

// Just past the markup construct that starts with "<" at at: a comment, a processing
// instruction, a document type, or a tag (with quoted attribute values); the text's end when it
// does not close.
int constructEnd(const QByteArray& page, int at)
{
    if (page.mid(at, 4) == "<!--") {
        const int end = page.indexOf("-->", at + 4);
        return end < 0 ? page.size() : end + 3;
    }
    char quote = 0;
    for (int i = at + 1; i < page.size(); ++i) {
        const char c = page.at(i);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return page.size();
}

} // namespace

QByteArray prepare(const QByteArray& page, bool boundNesting, int maxDepth)
{
    const QByteArray text = BoundedXml::withoutInternalSubset(page);
    if (!boundNesting)
        return text;
    QByteArray out;
    out.reserve(text.size());
    int depth = 0;
    int copied = 0;
    for (int at = text.indexOf('<'); at >= 0 && at < text.size(); at = text.indexOf('<', at)) {
        const int end = constructEnd(text, at);
        const bool endTag = at + 1 < text.size() && text.at(at + 1) == '/';
        const bool startTag = at + 1 < text.size() && QChar::isLetter(uchar(text.at(at + 1)));
        bool keep = true;
        if (startTag) {
            int nameEnd = at + 1;
            while (nameEnd < end && (QChar::isLetterOrNumber(uchar(text.at(nameEnd))) || text.at(nameEnd) == ':'))
                ++nameEnd;
            const QByteArray name = text.mid(at + 1, nameEnd - at - 1);
            if (!isVoid(name.mid(name.lastIndexOf(':') + 1)) && text.at(end - 2) != '/') {
                keep = depth < maxDepth;
                ++depth;
            }
        } else if (endTag) {
            keep = depth <= maxDepth;
            depth = qMax(0, depth - 1);
        }
        if (!keep) {
            out += text.mid(copied, at - copied);
            copied = end;
        }
        at = end;
    }
    return out + text.mid(copied);
}

} // namespace HtmlFallback
