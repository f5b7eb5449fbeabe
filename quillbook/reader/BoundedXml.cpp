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

} // namespace

bool setContent(QDomDocument& document, const QByteArray& bytes, int maxDepth)
{
    return withinDepth(bytes, maxDepth) && document.setContent(bytes, true);
}

bool setContentKeepingSpace(QDomDocument& document, const QString& text, int maxDepth)
{
    const int bound = boundOf(maxDepth);
    QXmlStreamReader reader(text);
    document = QDomDocument();
    QDomNode current; // the open element; the document itself makes its node only when first asked to
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (++depth > bound)
                return false;
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
            current = current.parentNode();
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (depth > 0)
                current.appendChild(document.createTextNode(reader.text().toString()));
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

} // namespace BoundedXml
