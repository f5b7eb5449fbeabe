#include "quillbook/mobi/PdbFile.h"

#include "quillbook/mobi/BigEndian.h"
#include "quillbook/mobi/HuffCdicReader.h"
#include "quillbook/reader/ReaderLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextCodec>

#include <algorithm>
#include <iterator>
#include <memory>

namespace mobi {

namespace {

constexpr int pdbHeaderSize = 78;
constexpr int utf8Mib = 106;
constexpr int windows1252Mib = 2252;

// A tag the text opens but does not close (its end was in a record left out, or the text stops in
// it) is markup cut short, not text: it goes.
void dropOpenTag(QByteArray& bytes)
{
    const int open = bytes.lastIndexOf('<');
    if (open >= 0 && bytes.indexOf('>', open) < 0)
        bytes.truncate(open);
}

// The end of a tag that began in a record left out: the text up to its first ">" when no "<"
// comes before it.
QByteArray withoutTagEnd(const QByteArray& text)
{
    const int close = text.indexOf('>');
    const int open = text.indexOf('<');
    return close >= 0 && (open < 0 || close < open) ? text.mid(close + 1) : text;
}

} // namespace

PdbFile::PdbFile(const QString& path)
    : m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        return;
    m_fileSize = m_file.size();
    if (m_file.isSequential() || m_fileSize > ReaderLimits::bookFileBytes) {
        m_tooLarge = m_fileSize > ReaderLimits::bookFileBytes;
        m_file.close();
        m_fileSize = 0;
        return;
    }
    QByteArray start = m_file.read(pdbHeaderSize);
    start += m_file.read(8 * qint64(be16(start, 76)));
    m_pdb = parsePdbHeader(start, m_fileSize);
    m_zero = parseRecordZero(readRecord(0));
}

QByteArray PdbFile::readRecord(int index)
{
    if (index < 0 || index >= recordCount() || !m_file.isOpen())
        return QByteArray();
    const qint64 begin = m_pdb.recordOffsets.at(index);
    const qint64 next = index + 1 < recordCount() ? qint64(m_pdb.recordOffsets.at(index + 1)) : m_fileSize;
    const qint64 end = qMin(next, m_fileSize);
    if (begin >= end || !m_file.seek(begin))
        return QByteArray();
    return m_file.read(end - begin);
}

bool PdbFile::isMobiBook() const
{
    const QByteArray kind = m_pdb.type + m_pdb.creator;
    return kind == "BOOKMOBI" || kind == "TEXtREAd";
}

Compression PdbFile::compression() const
{
    return compressionFromValue(m_zero.palmDoc.compression);
}

int PdbFile::textRecordEnd()
{
    const MobiHeader& mobi = m_zero.mobi;
    const qint64 count = m_zero.palmDoc.recordCount;
    // Writers may put padding between the text and the first non-book record; the PalmDOC
    // header counts the text records themselves. A bound beyond the file's records is not the book's.
    qint64 end = mobi.firstNonBookIndex > 0 && mobi.firstNonBookIndex <= quint32(recordCount()) ? qint64(mobi.firstNonBookIndex) : -1;
    if (count > 0 && 1 + count <= recordCount())
        end = end < 0 ? 1 + count : qMin(end, 1 + count);
    if (end >= 0)
        return int(end);
    // Neither header bounds the text: it ends at the first record that is no text record.
    int r = 1;
    while (r < recordCount() && isTextRecord(readRecord(r)))
        ++r;
    return r;
}

bool PdbFile::isTextRecord(const QByteArray& record) const
{
    // The end-of-book marker, pictures and the named records that follow the text.
    static const char* const names[] = {"FLIS", "FCIS", "FDST", "SRCS", "DATP", "INDX", "HUFF", "CDIC", "RESC", "BOUN"};
    if (record.isEmpty() || record.startsWith("\xE9\x8E\r\n") || !imageFormat(record).isEmpty())
        return false;
    return std::none_of(std::begin(names), std::end(names), [&](const char* name) { return record.startsWith(name); });
}

qint64 PdbFile::expectedTextBytes(int record, int end) const
{
    const qint64 recordSize = m_zero.palmDoc.recordSize;
    const qint64 textLength = m_zero.palmDoc.textLength;
    // A text length more than the text records can hold is not the book's: it is taken as unknown.
    if (textLength > 0 && textLength <= qint64(end - 1) * recordSize)
        return qBound<qint64>(0, textLength - (record - 1) * recordSize, recordSize);
    // Without a text length, every record but the last is full.
    return record + 1 < end ? recordSize : 0;
}

QString PdbFile::text()
{
    const Compression kind = compression();
    std::unique_ptr<HuffCdicReader> huff;
    if (kind == Compression::HuffCdic)
        huff.reset(new HuffCdicReader(*this));
    QByteArray bytes;
    m_damagedTextRecords.clear();
    const int end = textRecordEnd();
    const int recordSize = m_zero.palmDoc.recordSize;
    bool afterLeftOut = false;
    for (int r = 1; r < end; ++r) {
        QByteArray record = readRecord(r);
        record.chop(trailingEntriesSize(record, m_zero.mobi.extraDataFlags));
        // One byte more than a record may hold tells a record that runs past its size.
        const int limit = qMin(recordSize + splitCharacterBytes + 1, maxTextBytes + 1 - bytes.size());
        const QByteArray text = decompress(record, kind, limit, huff.get());
        if (bytes.size() + text.size() > maxTextBytes) {
            m_tooLarge = true;
            return QString();
        }
        // Decompression stops where the data goes wrong and keeps what came before. A record
        // that gives less than half of its text did not start where its offset says (or is
        // mostly lost), and one that gives more than a record holds is damaged: what either gives
        // is no part of the book, which goes on in the next record. The tag the book was in
        // where the record left out begins or ends is no text either.
        if (text.size() > recordSize + splitCharacterBytes || qint64(text.size()) * 2 < expectedTextBytes(r, end)) {
            m_damagedTextRecords.append(r);
            dropOpenTag(bytes);
            afterLeftOut = true;
            continue;
        }
        bytes += afterLeftOut ? withoutTagEnd(text) : text;
        afterLeftOut = false;
    }
    dropOpenTag(bytes);
    QTextCodec* codec = QTextCodec::codecForMib(isSingleByte() ? windows1252Mib : utf8Mib);
    return codec->toUnicode(bytes);
}

QByteArray PdbFile::imageFormat(const QByteArray& record) const
{
    // The picture kinds that MOBI books carry, told apart by their signatures; other records
    // (indexes, font and end markers) are never handed to a decoder that guesses.
    if (record.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (record.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (record.startsWith("GIF87a") || record.startsWith("GIF89a"))
        return "gif";
    if (record.startsWith("BM"))
        return "bmp";
    return QByteArray();
}

int PdbFile::firstImageRecord()
{
    if (m_firstImageRecord >= 0)
        return m_firstImageRecord;
    m_firstImageRecord = recordCount();
    for (qint64 r = m_zero.mobi.firstNonBookIndex; r < recordCount(); ++r) {
        QByteArray record = readRecord(int(r));
        const QByteArray format = imageFormat(record);
        if (format.isEmpty())
            continue;
        QBuffer buffer(&record);
        buffer.open(QIODevice::ReadOnly);
        if (QImageReader(&buffer, format).canRead()) {
            m_firstImageRecord = int(r);
            break;
        }
    }
    return m_firstImageRecord;
}

int PdbFile::imageCount()
{
    return recordCount() - firstImageRecord();
}

QImage PdbFile::image(int index)
{
    if (index < 0 || index >= imageCount())
        return QImage();
    QByteArray record = readRecord(firstImageRecord() + index);
    const QByteArray format = imageFormat(record);
    if (format.isEmpty())
        return QImage();
    QBuffer buffer(&record);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > ReaderLimits::imagePixels)
        return QImage();
    return reader.read();
}

} // namespace mobi
