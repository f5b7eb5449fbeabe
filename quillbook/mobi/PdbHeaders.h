#pragma once

#include <QByteArray>
#include <QVector>

// The headers of a MOBI book. The file is a Palm database: a header with a table of record
// offsets, then the records. Record 0 holds the PalmDOC header, the MOBI header and optionally an
// EXTH block; numbers are big-endian.
namespace mobi {

struct PdbHeader
{
    QByteArray name;    // 32 bytes, zero-padded
    QByteArray type;    // "BOOK" for MOBI books
    QByteArray creator; // "MOBI"
    QVector<quint32> recordOffsets;
};

struct PalmDocHeader
{
    quint16 compression = 0;
    quint32 textLength = 0;
    quint16 recordCount = 0; // text records, from record 1 on
    quint16 recordSize = 0;  // the most text bytes one record decompresses to
    quint16 encryption = 0;
};

// Fields that lie beyond the header's own length, or beyond record 0, stay 0.
struct MobiHeader
{
    QByteArray identifier; // "MOBI"
    quint32 headerLength = 0;
    quint32 textEncoding = 0; // 1252 or 65001
    quint32 firstNonBookIndex = 0;
    quint32 fullNameOffset = 0; // within record 0
    quint32 fullNameLength = 0;
    quint32 huffmanRecordOffset = 0;
    quint32 huffmanRecordCount = 0;
    quint32 exthFlags = 0;      // bit 0x40: an EXTH block follows the header
    quint16 extraDataFlags = 0; // which trailing entries the text records carry
};

struct ExthRecord
{
    quint32 type = 0;
    QByteArray data;
};

struct ExthHeader
{
    QByteArray identifier; // "EXTH"
    quint32 headerLength = 0;
    QVector<ExthRecord> records;
};

// Everything record 0 holds.
struct RecordZero
{
    PalmDocHeader palmDoc;
    MobiHeader mobi;
    ExthHeader exth;
    QByteArray fullName;
};

// Reads the PDB header from the first bytes of a file of fileSize bytes. Only the record entries
// that lie inside the file are kept.
PdbHeader parsePdbHeader(const QByteArray& start, qint64 fileSize);

// Reads record 0. Every length, count and offset is checked against the record: an EXTH block
// keeps only the records that lie wholly inside it, and the full name is taken only when it does.
RecordZero parseRecordZero(const QByteArray& record);

// How many bytes at the end of a text record are trailing entries (not text), as the MOBI
// header's extra data flags describe them; at most the record's size.
int trailingEntriesSize(const QByteArray& record, quint16 extraDataFlags);

} // namespace mobi
