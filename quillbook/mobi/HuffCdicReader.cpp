#include "quillbook/mobi/HuffCdicReader.h"

#include "quillbook/mobi/BigEndian.h"
#include "quillbook/mobi/PdbFile.h"

namespace mobi {

namespace {

// Nesting of dictionary entries that a real book never comes near.
constexpr int maxDepth = 32;
// The symbols a reader may decode: a start, one per bit of input and a few per byte of output.
// A sound book decodes about one symbol per byte of text, and never many before its first byte;
// dictionaries made to expand into little or nothing over and over run out of this long before
// they cost much time.
constexpr qint64 startingSteps = 1 << 16;
constexpr qint64 stepsPerOutputByte = 8;

// The 32 bits that start at bit pos of data, most significant first; bits past the end are 0.
quint32 bitsAt(const QByteArray& data, qint64 pos)
{
    const qint64 first = pos >> 3;
    quint64 v = 0;
    for (int i = 0; i < 5; ++i)
        v = v << 8 | byteAt(data, first + i);
    return quint32(v >> (8 - (pos & 7)));
}

} // namespace

HuffCdicReader::HuffCdicReader(PdbFile& book)
{
    const quint32 first = book.mobiHeader().huffmanRecordOffset;
    const quint32 count = book.mobiHeader().huffmanRecordCount;
    if (count < 2 || qint64(first) + count > book.recordCount())
        return;
    for (quint32 i = 1; i < count; ++i)
        m_dictionaries.append(book.readRecord(int(first + i)));
    load(book.readRecord(int(first)));
}

HuffCdicReader::HuffCdicReader(const QByteArray& huff, const QList<QByteArray>& dictionaries)
    : m_dictionaries(dictionaries)
{
    load(huff);
}

void HuffCdicReader::load(const QByteArray& huff)
{
    if (!huff.startsWith("HUFF") || m_dictionaries.isEmpty() || !m_dictionaries.first().startsWith("CDIC"))
        return;
    m_codeBits = be32(m_dictionaries.first(), 12);
    // The HUFF record carries both tables twice; the little-endian copies are named at 16 and 20.
    const quint32 cacheOffset = be32(huff, 16);
    const quint32 limitsOffset = be32(huff, 20);
    if (m_codeBits >= 32 || !fits(huff, cacheOffset, 256 * 4) || !fits(huff, limitsOffset, 64 * 4))
        return;
    for (int i = 0; i < 256; ++i)
        m_cacheTable[i] = le32(huff, cacheOffset + 4 * i);
    for (int length = 1; length <= 32; ++length) {
        m_minCode[length] = le32(huff, limitsOffset + 8 * (length - 1));
        m_maxCode[length] = le32(huff, limitsOffset + 8 * (length - 1) + 4);
    }
    m_loaded = m_valid = true;
    m_stepsLeft = startingSteps;
}

QByteArray HuffCdicReader::decompress(const QByteArray& record, int limit)
{
    m_output.clear();
    if (!m_loaded || limit <= 0)
        return m_output;
    m_limit = limit;
    m_stepsLeft += 8 * qint64(record.size());
    m_stopped = false;
    m_expanding.clear();
    unpack(record, 0);
    QByteArray out;
    out.swap(m_output);
    return out;
}

void HuffCdicReader::append(const QByteArray& text)
{
    const int size = qMin(text.size(), m_limit - m_output.size());
    m_output.append(text.constData(), size);
    m_stepsLeft += stepsPerOutputByte * size;
    if (m_output.size() >= m_limit)
        m_stopped = true;
}

void HuffCdicReader::unpack(const QByteArray& data, int depth)
{
    if (depth > maxDepth) {
        m_valid = false;
        return;
    }
    const qint64 bitCount = 8 * qint64(data.size());
    qint64 pos = 0;
    while (pos < bitCount && !m_stopped) {
        if (--m_stepsLeft < 0) {
            m_valid = false;
            m_stopped = true;
            return;
        }
        const quint32 x = bitsAt(data, pos);
        const quint32 entry = m_cacheTable[x >> 24];
        int length = int(entry & 0x1F);
        if (length == 0) {
            m_valid = false;
            return;
        }
        quint32 code = x >> (32 - length);
        quint32 maximum = entry >> 8;
        if (!(entry & 0x80)) {
            while (code < m_minCode[length]) {
                if (++length > 32) {
                    m_valid = false;
                    return;
                }
                code = length == 32 ? x : x >> (32 - length);
            }
            maximum = m_maxCode[length];
        }
        pos += length;
        if (pos > bitCount)
            return; // the padding of the last byte
        const quint32 index = maximum - code;
        const quint32 dictionary = index >> m_codeBits;
        const quint32 k = index - (dictionary << m_codeBits);
        if (dictionary >= quint32(m_dictionaries.size())) {
            m_valid = false;
            return;
        }
        const QByteArray& cdic = m_dictionaries.at(int(dictionary));
        const qint64 offset = 16 + qint64(be16(cdic, 16 + 2 * qint64(k)));
        const quint16 word = be16(cdic, offset);
        const qint64 start = qMin<qint64>(offset + 2, cdic.size());
        const int size = int(qMin<qint64>(word & 0x7FFF, cdic.size() - start));
        // Points into the dictionary, which stays unchanged while it is decoded.
        const QByteArray text = QByteArray::fromRawData(cdic.constData() + start, size);
        if (word & 0x8000) {
            append(text);
            continue;
        }
        // A compressed entry: decode it in turn, unless it is already being expanded further
        // out, which would make it contain itself.
        const quint64 key = quint64(dictionary) << 32 | k;
        if (m_expanding.contains(key)) {
            m_valid = false;
            continue;
        }
        m_expanding.append(key);
        unpack(text, depth + 1);
        m_expanding.removeLast();
    }
}

} // namespace mobi
