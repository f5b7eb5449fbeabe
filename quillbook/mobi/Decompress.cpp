#include "quillbook/mobi/Decompress.h"

#include "quillbook/mobi/HuffCdicReader.h"

namespace mobi {

Compression compressionFromValue(quint16 value)
{
    switch (value) {
    case 2:
        return Compression::PalmDoc;
    case 17480: // "DH"
        return Compression::HuffCdic;
    default:
        return Compression::None;
    }
}

QByteArray decompress(const QByteArray& record, Compression kind, int limit, HuffCdicReader* huff)
{
    switch (kind) {
    case Compression::PalmDoc:
        return palmDocDecompress(record, limit);
    case Compression::HuffCdic:
        return huff ? huff->decompress(record, limit) : QByteArray();
    case Compression::None:
        break;
    }
    return record.left(qMax(limit, 0));
}

QByteArray palmDocDecompress(const QByteArray& record, int limit)
{
    QByteArray out;
    if (limit <= 0)
        return out;
    out.reserve(qMin(limit, record.size() * 2));
    const int n = record.size();
    const auto at = [&record](int i) { return quint8(record.at(i)); };
    int i = 0;
    while (i < n && out.size() < limit) {
        const quint8 b = at(i++);
        if (b >= 0x01 && b <= 0x08) {
            // A run of b literal bytes; it may end exactly on the last byte of the record.
            if (b > n - i)
                break;
            out.append(record.constData() + i, b);
            i += b;
        } else if (b < 0x80) {
            out.append(char(b));
        } else if (b >= 0xC0) {
            out.append(' ');
            out.append(char(b ^ 0x80));
        } else {
            // Two bytes: 11 bits of distance back into the output and 3 bits of length - 3.
            if (i >= n)
                break;
            const int v = b << 8 | at(i++);
            const int distance = (v >> 3) & 0x7FF;
            const int length = (v & 7) + 3;
            if (distance == 0 || distance > out.size())
                break;
            // One byte at a time: the copy may repeat bytes it has just written.
            for (int k = 0; k < length && out.size() < limit; ++k) {
                const char c = out.at(out.size() - distance);
                out.append(c);
            }
        }
    }
    out.truncate(limit);
    return out;
}

} // namespace mobi
