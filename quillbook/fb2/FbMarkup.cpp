#include "quillbook/fb2/FbMarkup.h"

#include <QDomNamedNodeMap>
#include <QUrl>

namespace fb2 {

namespace {

using Reader = bool (*)(const QDomElement&, QString&);

struct ChildRule
{
    const char* name;
    Reader read;
};

// The element's own "id", as an anchor in front of its markup, so that links can reach it.
void appendAnchor(const QDomElement& element, QString& out)
{
    const QString id = element.attribute(QStringLiteral("id"));
    if (!id.isEmpty())
        out += anchorMarkup(id);
}

// Inline markup wrapped in a block element.
bool block(const QDomElement& element, QString& out, const char* open, const char* close)
{
    appendAnchor(element, out);
    out += QLatin1String(open);
    readInline(element, out);
    out += QLatin1String(close);
    return true;
}

bool paragraph(const QDomElement& element, QString& out)
{
    return block(element, out, "<p>", "</p>");
}

bool subtitle(const QDomElement& element, QString& out)
{
    return block(element, out, "<h5>", "</h5>");
}

// The author line under an epigraph, a quotation or a poem, and a poem's date.
bool byline(const QDomElement& element, QString& out)
{
    return block(element, out, "<p style=\"text-align: right\"><i>", "</i></p>");
}

bool emptyLine(const QDomElement&, QString& out)
{
    out += QStringLiteral("<br/>");
    return true;
}

bool verse(const QDomElement& element, QString& out)
{
    appendAnchor(element, out);
    readInline(element, out);
    out += QStringLiteral("<br/>");
    return true;
}

// A cell's span, when the book gives a plain number.
QString span(const QDomElement& element, const char* name)
{
    bool ok = false;
    const int value = element.attribute(QLatin1String(name)).toInt(&ok);
    return ok && value > 1 && value < 1000 ? QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name)).arg(value) : QString();
}

bool tableRow(const QDomElement& element, QString& out)
{
    out += QStringLiteral("<tr>");
    for (QDomElement cell = element.firstChildElement(); !cell.isNull(); cell = cell.nextSiblingElement()) {
        const QString tag = cell.tagName() == QLatin1String("th") ? QStringLiteral("th") : QStringLiteral("td");
        out += QStringLiteral("<%1%2%3>").arg(tag, span(cell, "colspan"), span(cell, "rowspan"));
        readInline(cell, out);
        out += QStringLiteral("</%1>").arg(tag);
    }
    out += QStringLiteral("</tr>");
    return true;
}

// Walks the child elements and appends what the rule of each names; children without a rule are
// skipped.
template <size_t N>
bool readChildren(const QDomElement& element, QString& out, const ChildRule (&rules)[N])
{
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        for (const ChildRule& rule : rules) {
            if (child.tagName() != QLatin1String(rule.name))
                continue;
            if (!rule.read(child, out))
                return false;
            break;
        }
    }
    return true;
}

bool table(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"tr", &tableRow}};
    appendAnchor(element, out);
    out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">");
    readChildren(element, out, rules);
    out += QStringLiteral("</table>");
    return true;
}

bool annotation(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph}, {"poem", &readPoem}, {"cite", &readCite}, {"subtitle", &subtitle}, {"table", &table}, {"empty-line", &emptyLine}};
    appendAnchor(element, out);
    return readChildren(element, out, rules);
}

// The reference an element's "l:href" (or other "href") attribute holds, as written.
QString hrefOf(const QDomElement& element)
{
    QString reference = element.attribute(QStringLiteral("l:href"));
    if (reference.isEmpty()) {
        const QDomNamedNodeMap attributes = element.attributes();
        for (int i = 0; i < attributes.count(); ++i) {
            const QDomAttr attribute = attributes.item(i).toAttr();
            if (attribute.name().contains(QLatin1String("href"))) {
                reference = attribute.value();
                break;
            }
        }
    }
    return reference;
}

// A link keeps its text; one to a place in the book ("#id") stays a link, which the page writer
// points at the page holding that place, or drops when the book has no such place.
void link(const QDomElement& element, QString& out)
{
    const QString reference = hrefOf(element);
    const bool internal = reference.startsWith(QLatin1Char('#')) && reference.size() > 1;
    if (internal)
        out += QStringLiteral("<a href=\"#%1\">").arg(reference.mid(1).toHtmlEscaped());
    readInline(element, out);
    if (internal)
        out += QStringLiteral("</a>");
}

} // namespace

bool readTitle(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph}, {"empty-line", &emptyLine}};
    return readChildren(element, out, rules);
}

bool readEpigraph(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph}, {"poem", &readPoem}, {"cite", &readCite}, {"empty-line", &emptyLine}, {"text-author", &byline}};
    appendAnchor(element, out);
    return readChildren(element, out, rules);
}

bool readCite(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph}, {"poem", &readPoem}, {"subtitle", &subtitle}, {"empty-line", &emptyLine}, {"table", &table}, {"text-author", &byline}};
    appendAnchor(element, out);
    return readChildren(element, out, rules);
}

bool readPoem(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"title", &readTitle}, {"epigraph", &readEpigraph}, {"empty-line", &emptyLine}, {"stanza", &readStanza}, {"text-author", &byline}, {"date", &byline}};
    appendAnchor(element, out);
    return readChildren(element, out, rules);
}

bool readStanza(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"title", &readTitle}, {"subtitle", &subtitle}, {"v", &verse}};
    return readChildren(element, out, rules);
}

bool readInline(const QDomElement& element, QString& out)
{
    static const struct
    {
        const char* name;
        const char* open;
        const char* close;
    } wrappers[] = {{"emphasis", "<i>", "</i>"}, {"strong", "<b>", "</b>"}, {"strikethrough", "<s>", "</s>"}, {"sub", "<sub>", "</sub>"}, {"sup", "<sup>", "</sup>"}, {"code", "<code>", "</code>"}};
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isText()) { // CDATA sections included
            out += node.nodeValue().toHtmlEscaped();
            continue;
        }
        const QDomElement child = node.toElement();
        if (child.isNull())
            continue;
        const QString name = child.tagName();
        if (name == QLatin1String("image")) {
            out += imageMarkup(readImage(child));
            continue;
        }
        if (name == QLatin1String("a")) {
            link(child, out);
            continue;
        }
        const char* open = "";
        const char* close = "";
        for (const auto& wrapper : wrappers) {
            if (name == QLatin1String(wrapper.name)) {
                open = wrapper.open;
                close = wrapper.close;
                break;
            }
        }
        // "style" and elements of later versions of the format give their text as it is.
        out += QLatin1String(open);
        readInline(child, out);
        out += QLatin1String(close);
    }
    return true;
}

bool readSection(const QDomElement& element, FbSection& section)
{
    static const ChildRule contentRules[] = {{"p", &paragraph}, {"poem", &readPoem}, {"subtitle", &subtitle}, {"cite", &readCite}, {"empty-line", &emptyLine}, {"table", &table}, {"annotation", &annotation}};
    section.id = element.attribute(QStringLiteral("id"));
    bool leadingImageOpen = true;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        // Text of a section's own: what the reading left of sections and paragraphs nested
        // deeper than its bound.
        if (node.isText() && !node.nodeValue().trimmed().isEmpty()) {
            leadingImageOpen = false;
            section.content += QStringLiteral("<p>%1</p>").arg(node.nodeValue().toHtmlEscaped());
            continue;
        }
        const QDomElement child = node.toElement();
        if (child.isNull())
            continue;
        const QString name = child.tagName();
        if (name == QLatin1String("title")) {
            section.title.clear();
            readTitle(child, section.title);
            continue;
        }
        if (name == QLatin1String("epigraph")) {
            QString epigraph;
            readEpigraph(child, epigraph);
            section.epigraphs.append(epigraph);
            continue;
        }
        if (name == QLatin1String("image")) {
            if (leadingImageOpen)
                section.image = readImage(child);
            else
                section.content += imageMarkup(readImage(child));
            leadingImageOpen = false;
            continue;
        }
        if (name == QLatin1String("section")) {
            leadingImageOpen = false;
            FbSection subsection;
            readSection(child, subsection);
            section.sections.append(subsection);
            section.sectionsAt.append(section.content.size());
            continue;
        }
        for (const ChildRule& rule : contentRules) {
            if (name != QLatin1String(rule.name))
                continue;
            leadingImageOpen = false;
            rule.read(child, section.content);
            break;
        }
    }
    return true;
}

QString readImage(const QDomElement& element)
{
    QString reference = hrefOf(element);
    if (reference.startsWith(QLatin1Char('#')))
        reference.remove(0, 1);
    return reference;
}

QString readText(const QDomElement& element)
{
    for (QDomNode node = element.lastChild(); !node.isNull(); node = node.previousSibling()) {
        if (node.isText())
            return node.nodeValue();
    }
    return QString();
}

QString imageMarkup(const QString& reference)
{
    const QString address = QString::fromLatin1(QUrl::toPercentEncoding(reference, "/"));
    return QStringLiteral("<img src=\"%1\" />").arg(address.toHtmlEscaped());
}

QString anchorMarkup(const QString& id)
{
    return QStringLiteral("<a id=\"%1\"></a>").arg(id.toHtmlEscaped());
}

} // namespace fb2
