#include "quillbook/mobi/PdbHeaders.h"

#include "quillbook/mobi/BigEndian.h"

namespace mobi {

namespace {

constexpr int pdbHeaderSize = 78;
constexpr int recordEntrySize = 8;
constexpr int palmDocHeaderSize = 16;

// A field of the MOBI header at its offset from the header's start: 0 when it lies beyond the
// header's own length or beyond record 0.
quint32 mobiField(const QByteArray& record, quint32 headerLength, qint64 offset)
{
    if (offset + 4 > headerLength)
        return 0;
    return fits(record, palmDocHeaderSize + offset, 4) ? be32(record, palmDocHeaderSize + offset) : 0;
}

// The EXTH block at pos; returns its size in record 0 (0 when there is none).
qint64 parseExth(const QByteArray& record, qint64 pos, ExthHeader& exth)
{
    exth.identifier = slice(record, pos, 4);
    if (exth.identifier != "EXTH")
        return 0;
    exth.headerLength = be32(record, pos + 4);
    const quint32 count = be32(record, pos + 8);
    qint64 at = pos + 12;
    // Stops at the first record that does not lie wholly inside record 0, whatever the count.
    for (quint32 i = 0; i < count && fits(record, at, 8); ++i) {
        ExthRecord entry;
        entry.type = be32(record, at);
        const quint32 length = be32(record, at + 4);
        const qint64 dataSize = length >= 8 ? qint64(length) - 8 : 0;
        if (!fits(record, at + 8, dataSize))
            break;
        entry.data = slice(record, at + 8, dataSize);
        exth.records.append(entry);
        at += 8 + dataSize;
    }
    const qint64 size = at - pos;
    return (size + 3) / 4 * 4;
}

// A trailing entry's size, stored backwards before end in 7-bit groups, the first group (the
// last byte) flagged with bit 7.
qint64 backwardSize(const QByteArray& record, qint64 end)
{
    qint64 result = 0;
    for (int shift = 0; end > 0 && shift < 28; shift += 7) {
        const quint8 v = byteAt(record, --end);
        result |= qint64(v & 0x7F) << shift;
        if (v & 0x80)
            break;
    }
    return result;
}

} // namespace

PdbHeader parsePdbHeader(const QByteArray& start, qint64 fileSize)
{
    PdbHeader header;
    header.name = slice(start, 0, 32);
    header.type = slice(start, 60, 4);
    header.creator = slice(start, 64, 4);
    const qint64 inFile = qMax<qint64>(0, qMin<qint64>(start.size(), fileSize) - pdbHeaderSize) / recordEntrySize;
    const qint64 count = qMin<qint64>(be16(start, 76), inFile);
    for (qint64 i = 0; i < count; ++i)
        header.recordOffsets.append(be32(start, pdbHeaderSize + recordEntrySize * i));
    return header;
}

RecordZero parseRecordZero(const QByteArray& record)
{
    RecordZero zero;
    PalmDocHeader& palm = zero.palmDoc;
    palm.compression = be16(record, 0);
    palm.textLength = be32(record, 4);
    palm.recordCount = be16(record, 8);
    palm.recordSize = be16(record, 10);
    palm.encryption = be16(record, 12);

    MobiHeader& mobi = zero.mobi;
    mobi.identifier = slice(record, palmDocHeaderSize, 4);
    mobi.headerLength = be32(record, palmDocHeaderSize + 4);
    const quint32 length = mobi.headerLength;
    mobi.textEncoding = mobiField(record, length, 12);
    mobi.firstNonBookIndex = mobiField(record, length, 64);
    mobi.fullNameOffset = mobiField(record, length, 68);
    mobi.fullNameLength = mobiField(record, length, 72);
    mobi.huffmanRecordOffset = mobiField(record, length, 96);
    mobi.huffmanRecordCount = mobiField(record, length, 100);
    mobi.exthFlags = mobiField(record, length, 112);
    mobi.extraDataFlags = quint16(mobiField(record, length, 0xE0) & 0xFFFF);

    qint64 consumed = palmDocHeaderSize + qint64(length);
    if (mobi.exthFlags & 0x40)
        consumed += parseExth(record, consumed, zero.exth);

    const qint64 nameOffset = mobi.fullNameOffset;
    if (nameOffset >= consumed && fits(record, nameOffset, mobi.fullNameLength)) {
        QByteArray name = slice(record, nameOffset, mobi.fullNameLength);
        int zeros = 0;
        while (zeros < name.size() && name.at(zeros) == '\0')
            ++zeros;
        zero.fullName = name.mid(zeros);
    }
    return zero;
}

int trailingEntriesSize(const QByteArray& record, quint16 extraDataFlags)
{
    const qint64 size = record.size();
    qint64 trailing = 0;
    for (quint16 flags = extraDataFlags >> 1; flags && trailing < size; flags >>= 1) {
        if (flags & 1)
            trailing += backwardSize(record, size - trailing);
    }
    // Bit 0: the bytes of a multibyte character that continues into the next record, their count
    // in the low two bits of the last byte.
    if ((extraDataFlags & 1) && trailing < size)
        trailing += (byteAt(record, size - trailing - 1) & 3) + 1;
    return int(qMin(trailing, size));
}

} // namespace mobi
