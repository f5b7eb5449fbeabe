#include "BoundedXml.h"

#include "ReaderLimits.h"

#include <QXmlStreamReader>

namespace BoundedXml {

namespace {

bool depthWithin(QXmlStreamReader& reader, int maxDepth)
{
    const int bound = maxDepth > 0 ? maxDepth : ReaderLimits::xmlDepth;
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

bool withinDepth(const QByteArray& bytes, int maxDepth)
{
    QXmlStreamReader reader(bytes);
    return depthWithin(reader, maxDepth);
}

bool withinDepth(const QString& text, int maxDepth)
{
    QXmlStreamReader reader(text);
    return depthWithin(reader, maxDepth);
}

bool setContent(QDomDocument& document, const QByteArray& bytes, int maxDepth)
{
    return withinDepth(bytes, maxDepth) && document.setContent(bytes, true);
}

bool setContent(QDomDocument& document, const QString& text, int maxDepth)
{
    return withinDepth(text, maxDepth) && document.setContent(text, true);
}

} // namespace BoundedXml
