#pragma once

#include <QByteArray>
#include <QList>

// Writes MOBI books for the tests, independently of the reader: a Palm database with PalmDOC,
// MOBI and EXTH headers, text records stored plain, PalmDoc-compressed or HUFF/CDIC-compressed,
// and picture records after the text.
namespace MobiWriter {

enum class Packing {
    None,
    PalmDoc,
    HuffCdic
};

struct Book
{
    QByteArray text; // the markup, in the book's encoding
    Packing packing = Packing::PalmDoc;
    quint32 encoding = 65001; // 65001 UTF-8, 1252 Windows-1252
    quint16 encryption = 0;
    int recordSize = 4096;
    QList<QByteArray> images;    // picture records, then an end-of-book record
    bool trailingEntries = true; // a multibyte entry and one more trailing entry per text record
    QList<QByteArray> phrases;   // HuffCdic: dictionary entries besides the 256 single bytes
};

QByteArray write(const Book& book);

// Where record index starts in a written file.
int recordOffset(const QByteArray& file, int index);
// The file with record index (not the last) holding bytes instead, the later records moved.
QByteArray replaceRecord(const QByteArray& file, int index, const QByteArray& bytes);
void putBe16(QByteArray& bytes, int pos, quint16 value);
void putBe32(QByteArray& bytes, int pos, quint32 value);

QByteArray palmDocCompress(const QByteArray& text);

// A HUFF/CDIC book of records text records of a few bytes each, every one a single symbol that
// expands through 16 nested dictionary entries into 65536 copies of text, cut at 65535 bytes.
QByteArray decompressionBomb(int records, const QByteArray& text);

// A HUFF/CDIC code with fixed 10-bit codes: symbols 0-255 are the single bytes, 256 and up the
// phrases, stored alternately as plain text and as codes of their bytes (so decoding recurses).
// codeBits entries per CDIC record.
struct HuffCdic
{
    explicit HuffCdic(const QList<QByteArray>& phrases, int codeBits = 8);

    QByteArray huff;
    QList<QByteArray> dictionaries;
    QList<QByteArray> phrases;

    QByteArray encode(const QByteArray& text) const;
    // The bit string of a list of symbols, padded with zero bits to whole bytes.
    static QByteArray pack(const QList<int>& symbols);
    // A CDIC record holding these entries (bytes, whether stored as plain text).
    static QByteArray cdic(const QList<QPair<QByteArray, bool>>& entries, int totalEntries, int codeBits);
};

} // namespace MobiWriter
