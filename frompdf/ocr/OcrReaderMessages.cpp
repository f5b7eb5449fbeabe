#include "frompdf/ocr/OcrReaderMessages.h"

#include <QList>

namespace OcrReaderMessages {

QByteArray frame(const char* kind, const QByteArray& body)
{
    return QByteArray(kind) + ' ' + QByteArray::number(body.size()) + '\n' + body;
}

bool readHeader(const QByteArray& line, QByteArray* kind, qint64* bytes)
{
    const QList<QByteArray> parts = line.trimmed().split(' ');
    if (parts.size() != 2 || parts.first().isEmpty())
        return false;
    bool ok = false;
    const qint64 size = parts.last().toLongLong(&ok);
    if (!ok || size < 0)
        return false;
    *kind = parts.first();
    *bytes = size;
    return true;
}

} // namespace OcrReaderMessages
