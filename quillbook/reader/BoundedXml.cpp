#include "quillbook/reader/BoundedXml.h"

#include "quillbook/reader/ReaderLimits.h"

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

// An entity the document does not declare reads as nothing, and is counted.
class UndeclaredEntities : public QXmlStreamEntityResolver
{
public:
    QString resolveUndeclaredEntity(const QString&) override
    {
        ++count;
        return QStringLiteral("");
    }

    int count = 0;
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
