#pragma once

#include <QByteArray>
#include <QtGlobal>

// Reading numbers out of the records of a book. Positions and lengths are 64-bit so that an offset
// plus a length read from a damaged file cannot wrap around; bytes past the end read as 0.
namespace mobi {

// True when length bytes starting at pos lie wholly inside bytes.
inline bool fits(const QByteArray& bytes, qint64 pos, qint64 length)
{
    return pos >= 0 && length >= 0 && pos <= bytes.size() && length <= bytes.size() - pos;
}

inline quint8 byteAt(const QByteArray& bytes, qint64 pos)
{
    return fits(bytes, pos, 1) ? quint8(bytes[int(pos)]) : 0;
}

inline quint16 be16(const QByteArray& bytes, qint64 pos)
{
    return quint16(byteAt(bytes, pos) << 8 | byteAt(bytes, pos + 1));
}

inline quint32 be32(const QByteArray& bytes, qint64 pos)
{
    return quint32(be16(bytes, pos)) << 16 | be16(bytes, pos + 2);
}

inline quint32 le32(const QByteArray& bytes, qint64 pos)
{
    return quint32(byteAt(bytes, pos)) | quint32(byteAt(bytes, pos + 1)) << 8 | quint32(byteAt(bytes, pos + 2)) << 16
           | quint32(byteAt(bytes, pos + 3)) << 24;
}

// The bytes [pos, pos + length) cut at the end of bytes; empty when pos lies outside.
inline QByteArray slice(const QByteArray& bytes, qint64 pos, qint64 length)
{
    if (pos < 0 || length <= 0 || pos >= bytes.size())
        return QByteArray();
    return bytes.mid(int(pos), int(qMin<qint64>(length, bytes.size() - pos)));
}

} // namespace mobi
