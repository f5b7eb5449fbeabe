#include "FbMarkup.h"

#include <QDomNamedNodeMap>

namespace fb2 {

namespace {

using Reader = bool (*)(const QDomElement&, QString&);

struct ChildRule
{
    const char* name;
    Reader read;         // appends the child's markup; null: literal only
    const char* literal; // appended when there is no reader
};

bool paragraph(const QDomElement& element, QString& out)
{
    out += QStringLiteral("<p>");
    readInline(element, out);
    out += QStringLiteral("</p>");
    return true;
}

bool verse(const QDomElement& element, QString& out)
{
    readInline(element, out);
    out += QStringLiteral("<br/>");
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
            if (rule.read && !rule.read(child, out))
                return false;
            if (rule.literal)
                out += QLatin1String(rule.literal);
            break;
        }
    }
    return true;
}

} // namespace

bool readTitle(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph, nullptr}, {"empty-line", nullptr, "<br/>"}};
    return readChildren(element, out, rules);
}

bool readEpigraph(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"p", &paragraph, nullptr},
                                      {"poem", &readPoem, nullptr},
                                      {"cite", &readCite, nullptr},
                                      {"empty-line", nullptr, "<br/>"}};
    return readChildren(element, out, rules);
}

bool readCite(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {
        {"p", &paragraph, nullptr}, {"poem", &readPoem, nullptr}, {"empty-line", nullptr, "<br/>"}};
    return readChildren(element, out, rules);
}

bool readPoem(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"title", &readTitle, nullptr},
                                      {"epigraph", &readEpigraph, nullptr},
                                      {"empty-line", nullptr, "<br/>"},
                                      {"stanza", &readStanza, nullptr}};
    return readChildren(element, out, rules);
}

bool readStanza(const QDomElement& element, QString& out)
{
    static const ChildRule rules[] = {{"title", &readTitle, nullptr}, {"v", &verse, nullptr}};
    return readChildren(element, out, rules);
}

bool readInline(const QDomElement& element, QString& out)
{
    static const struct
    {
        const char* name;
        const char* open;
        const char* close;
    } wrappers[] = {{"emphasis", "<i>", "</i>"}, {"strong", "<b>", "</b>"}, {"strikethrough", "<s>", "</s>"}, {"style", "", ""}};
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isText()) {
            out += node.nodeValue().toHtmlEscaped();
            continue;
        }
        const QDomElement child = node.toElement();
        if (child.isNull())
            continue;
        if (child.tagName() == QLatin1String("image")) {
            out += imageMarkup(readImage(child));
            continue;
        }
        for (const auto& wrapper : wrappers) {
            if (child.tagName() == QLatin1String(wrapper.name)) {
                out += QLatin1String(wrapper.open);
                readInline(child, out);
                out += QLatin1String(wrapper.close);
                break;
            }
        }
    }
    return true;
}

bool readSection(const QDomElement& element, FbSection& section)
{
    bool leadingImageOpen = true;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
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
            continue;
        }
        static const ChildRule contentRules[] = {{"p", &paragraph, nullptr},
                                                 {"poem", &readPoem, nullptr},
                                                 {"subtitle", nullptr, ""},
                                                 {"cite", &readCite, nullptr},
                                                 {"empty-line", nullptr, "<br/>"}};
        for (const ChildRule& rule : contentRules) {
            if (name != QLatin1String(rule.name))
                continue;
            leadingImageOpen = false;
            if (rule.read)
                rule.read(child, section.content);
            if (rule.literal)
                section.content += QLatin1String(rule.literal);
            break;
        }
    }
    return true;
}

QString readImage(const QDomElement& element)
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
    return QStringLiteral("<img src=\"%1\" />").arg(reference.toHtmlEscaped());
}

} // namespace fb2
