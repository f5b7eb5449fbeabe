#pragma once

#include "quillbook/mobi/Decompress.h"
#include "quillbook/mobi/PdbHeaders.h"

#include <QFile>
#include <QImage>
#include <QList>
#include <QString>

namespace mobi {

// One MOBI book on disk. The headers are read when it is built; the file stays open for reading
// records until it is destroyed. A file that does not open, or is larger than ReaderLimits::bookFileBytes,
// reads as a book without records.
class PdbFile
{
public:
    explicit PdbFile(const QString& path);

    // The most bytes of text a book may have: more is taken for a decompression bomb.
    static constexpr int maxTextBytes = 32 << 20;
    // The bytes a text record may give beyond the record size: the rest of a character that
    // continues into the next record.
    static constexpr int splitCharacterBytes = 3;

    const PdbHeader& pdbHeader() const { return m_pdb; }
    const PalmDocHeader& palmDocHeader() const { return m_zero.palmDoc; }
    const MobiHeader& mobiHeader() const { return m_zero.mobi; }
    const ExthHeader& exthHeader() const { return m_zero.exth; }
    const QByteArray& fullName() const { return m_zero.fullName; }

    int recordCount() const { return m_pdb.recordOffsets.size(); }
    // The bytes of record index: from its offset to the next record's offset (the end of the file
    // for the last one); empty when the index or the offsets lie outside the file.
    QByteArray readRecord(int index);

    Compression compression() const;
    bool isEncrypted() const { return m_zero.palmDoc.encryption != 0; }

    // The book's text: the text records decompressed, without their trailing entries, decoded
    // as UTF-8 (65001) or Windows-1252 (1252 and any other value); empty when it would be longer
    // than maxTextBytes. A tag cut short where the text stops, or where a record was left out,
    // is left out with it.
    QString text();
    // The text records that text() left out: each gave less than half of the text the PalmDOC
    // header's text length and record size give it (a damaged record, or an offset that points
    // past the record's start), or more than the record size holds (a damaged record).
    const QList<int>& damagedTextRecords() const { return m_damagedTextRecords; }
    // True when the file, or the text it decompresses to, passes its bound.
    bool isTooLarge() const { return m_tooLarge; }
    // True when the Palm database names a book of the MOBI family ("BOOKMOBI", "TEXtREAd").
    bool isMobiBook() const;

    // The byte that text position i came from is the one the book's links count in: true when
    // each character was one byte (Windows-1252), false for UTF-8.
    bool isSingleByte() const { return m_zero.mobi.textEncoding != 65001; }

    // The first record after the text that holds a picture; recordCount() when there is none.
    int firstImageRecord();
    int imageCount();
    // Picture index (from 0, in record order from the first image record); a null image when
    // the record is not a picture of a kind books carry or is larger than ReaderLimits::imagePixels.
    QImage image(int index);

private:
    // The record after the last text record: as the PalmDOC record count or the first non-book
    // index says where they lie within the file, else the first record that is no text record.
    int textRecordEnd();
    bool isTextRecord(const QByteArray& record) const;
    // The bytes text record `record` (of the records before end) decompresses to in a sound book.
    qint64 expectedTextBytes(int record, int end) const;
    QByteArray imageFormat(const QByteArray& record) const;

    QFile m_file;
    qint64 m_fileSize = 0;
    PdbHeader m_pdb;
    RecordZero m_zero;
    int m_firstImageRecord = -1;
    bool m_tooLarge = false;
    QList<int> m_damagedTextRecords;
};

} // namespace mobi
