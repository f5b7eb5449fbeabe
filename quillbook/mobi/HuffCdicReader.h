#pragma once

#include <QByteArray>
#include <QList>
#include <QVector>

namespace mobi {

class PdbFile;

// Decoder of the Huffman/dictionary compression of MOBI books. The HUFF record holds the code
// tables; the CDIC records hold the dictionary, whose entries are either plain text or again
// compressed. Built once per book and used for each of its text records.
class HuffCdicReader
{
public:
    // Reads the HUFF record and the CDIC records that the MOBI header of book names.
    explicit HuffCdicReader(PdbFile& book);
    HuffCdicReader(const QByteArray& huff, const QList<QByteArray>& dictionaries);

    // False when the tables are missing or damaged; such a reader decodes nothing.
    bool isLoaded() const { return m_loaded; }
    // False after loading or decoding met bad data (the output then stops short).
    bool isValid() const { return m_valid; }

    // The text of one record, at most limit bytes. Books whose dictionaries make the decoding
    // far slower than any real book's get less text than they claim.
    QByteArray decompress(const QByteArray& record, int limit);

private:
    void load(const QByteArray& huff);
    void unpack(const QByteArray& data, int depth);
    void append(const QByteArray& text);

    QList<QByteArray> m_dictionaries;
    quint32 m_codeBits = 0;
    // Indexed by the top 8 bits of the look-ahead: code length in bits 0-4, terminal flag in
    // bit 7, maximum code in bits 8-31.
    quint32 m_cacheTable[256] = {};
    // For code lengths 1 to 32 (index 0 unused).
    quint32 m_minCode[33] = {};
    quint32 m_maxCode[33] = {};
    bool m_loaded = false;
    bool m_valid = false;

    // Symbols left to decode, for the whole book (see startingSteps).
    qint64 m_stepsLeft = 0;

    // State of one decompress() call.
    QByteArray m_output;
    int m_limit = 0;
    bool m_stopped = false;
    QVector<quint64> m_expanding; // the dictionary entries being expanded, outermost first
};

} // namespace mobi
