#include "quillbook/reader/BoundedXml.h"

#include "quillbook/reader/ReaderLimits.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace BoundedXml {

namespace {

int boundOf(int maxDepth)
{
    return maxDepth > 0 ? maxDepth : ReaderLimits::xmlDepth;
}

// True when no element of the text lies deeper than maxDepth. Malformed XML counts as within the
// bound; the DOM parser reports it.
bool withinDepth(const QByteArray& bytes, int maxDepth)
{
    QXmlStreamReader reader(bytes);
    const int bound = boundOf(maxDepth);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > bound)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return true;
}

// An entity the document does not declare reads as the character HTML names by it ("&nbsp;",
// "&mdash;": books written as HTML use them without declaring them), or as nothing when HTML names
// no such entity; those are counted.
class UndeclaredEntities : public QXmlStreamEntityResolver
{
public:
    QString resolveUndeclaredEntity(const QString& name) override
    {
        const auto known = m_html.constFind(name);
        if (known != m_html.constEnd())
            return *known;
        // Not null: a null answer would leave the entity unresolved, an error that ends the parse.
        QString text = QStringLiteral("");
        static const QRegularExpression htmlName(QStringLiteral("^[A-Za-z][A-Za-z0-9]{0,31}$"));
        if (htmlName.match(name).hasMatch()) {
            const QString reference = QLatin1Char('&') + name + QLatin1Char(';');
            QTextDocument html;
            html.setHtml(reference);
            // The raw text keeps a no-break space as it is (the plain text makes it a blank).
            if (html.toRawText() != reference)
                text = html.toRawText();
        }
        if (text.isEmpty())
            ++count;
        m_html.insert(name, text);
        return text;
    }

    int count = 0;

private:
    QHash<QString, QString> m_html; // names already looked up, and what they read as
};

} // namespace

bool setContent(QDomDocument& document, const QByteArray& bytes, int maxDepth)
{
    return withinDepth(bytes, maxDepth) && document.setContent(bytes, true);
}

bool setContentKeepingSpace(QDomDocument& document, const QString& text, int maxDepth, LeftOut* leftOut)
{
    const int bound = boundOf(maxDepth);
    QXmlStreamReader reader(text);
    UndeclaredEntities entities;
    reader.setEntityResolver(&entities);
    document = QDomDocument();
    QDomNode current; // the open element; the document itself makes its node only when first asked to
    int depth = 0;
    int flattened = 0;
    // Text of the elements below the bound, not yet in the tree: it runs on, a blank between
    // elements, and goes to the element at the bound as one node.
    QString flat;
    const auto flush = [&] {
        if (!flat.isEmpty())
            current.appendChild(document.createTextNode(flat));
        flat.clear();
    };
    const auto separate = [&flat] {
        if (!flat.isEmpty() && !flat.endsWith(QLatin1Char(' ')))
            flat += QLatin1Char(' ');
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (++depth > bound) {
                ++flattened;
                separate();
                break;
            }
            flush();
            QDomElement element =
                document.createElementNS(reader.namespaceUri().toString(), reader.qualifiedName().toString());
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                if (attribute.namespaceUri().isEmpty())
                    element.setAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
                else
                    element.setAttributeNS(attribute.namespaceUri().toString(), attribute.qualifiedName().toString(),
                                           attribute.value().toString());
            }
            current = depth == 1 ? document.appendChild(element) : current.appendChild(element);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (depth-- > bound) {
                separate();
                break;
            }
            flush();
            current = current.parentNode();
            break;
        case QXmlStreamReader::Characters:
            if (depth > bound) {
                flat += reader.text();
            } else if (depth > 0) {
                flush();
                current.appendChild(document.createTextNode(reader.text().toString()));
            }
            break;
        case QXmlStreamReader::EntityReference:
            ++entities.count; // undeclared, in a document whose declarations lie outside it
            break;
        default:
            break;
        }
    }
    if (leftOut) {
        leftOut->elements = flattened;
        leftOut->entities = entities.count;
    }
    return !reader.hasError();
}

} // namespace BoundedXml
