#include "tests/quillbook/mobi/MobiWriter.h"

#include <QHash>

namespace MobiWriter {

namespace {

constexpr int pdbHeaderSize = 78;
constexpr int mobiHeaderLength = 0xE8;
constexpr int codeLength = 10;

QByteArray be16(quint16 v)
{
    QByteArray b(2, '\0');
    putBe16(b, 0, v);
    return b;
}

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    putBe32(b, 0, v);
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(v >> (8 * i));
    return b;
}

QByteArray exth(const QByteArray& title)
{
    const QList<QPair<quint32, QByteArray>> records = {{100, "Test Author"}, {503, title}};
    QByteArray body;
    for (const auto& r : records)
        body += be32(r.first) + be32(quint32(8 + r.second.size())) + r.second;
    QByteArray block = "EXTH" + be32(quint32(12 + body.size())) + be32(quint32(records.size())) + body;
    block.append((4 - block.size() % 4) % 4, '\0');
    return block;
}

QByteArray recordZero(const Book& book, int textRecords, int firstNonBook, int huffRecord, int huffCount, quint32 textLength)
{
    const quint16 compression = book.packing == Packing::PalmDoc ? 2 : book.packing == Packing::HuffCdic ? 17480
                                                                                                         : 1;
    QByteArray r = be16(compression) + be16(0) + be32(textLength) + be16(quint16(textRecords)) + be16(quint16(book.recordSize))
                   + be16(book.encryption) + be16(0);
    QByteArray mobi(mobiHeaderLength, '\0');
    mobi.replace(0, 4, "MOBI");
    putBe32(mobi, 4, mobiHeaderLength);
    putBe32(mobi, 8, 2);
    putBe32(mobi, 12, book.encoding);
    putBe32(mobi, 20, 6);
    putBe32(mobi, 64, quint32(firstNonBook));
    putBe32(mobi, 96, quint32(huffRecord));
    putBe32(mobi, 100, quint32(huffCount));
    putBe32(mobi, 112, 0x40);
    putBe16(mobi, 0xE2, book.trailingEntries ? 3 : 0);
    const QByteArray title = "Test Book";
    const QByteArray block = exth(title);
    putBe32(mobi, 68, quint32(r.size() + mobi.size() + block.size()));
    putBe32(mobi, 72, quint32(title.size()));
    r += mobi + block + title;
    r.append(4 - r.size() % 4, '\0');
    return r;
}

QByteArray pdb(const QList<QByteArray>& records)
{
    QByteArray header(pdbHeaderSize, '\0');
    header.replace(0, 9, "Test_Book");
    header.replace(60, 8, "BOOKMOBI");
    putBe16(header, 76, quint16(records.size()));
    int offset = pdbHeaderSize + 8 * records.size() + 2;
    for (int i = 0; i < records.size(); ++i) {
        header += be32(quint32(offset)) + be32(quint32(2 * i));
        offset += records.at(i).size();
    }
    header += be16(0);
    for (const QByteArray& record : records)
        header += record;
    return header;
}

} // namespace

void putBe16(QByteArray& bytes, int pos, quint16 value)
{
    bytes[pos] = char(value >> 8);
    bytes[pos + 1] = char(value);
}

void putBe32(QByteArray& bytes, int pos, quint32 value)
{
    putBe16(bytes, pos, quint16(value >> 16));
    putBe16(bytes, pos + 2, quint16(value));
}

int recordOffset(const QByteArray& file, int index)
{
    const int at = pdbHeaderSize + 8 * index;
    return int(quint8(file[at])) << 24 | int(quint8(file[at + 1])) << 16 | int(quint8(file[at + 2])) << 8 | quint8(file[at + 3]);
}

QByteArray replaceRecord(const QByteArray& file, int index, const QByteArray& bytes)
{
    const int start = recordOffset(file, index);
    const int end = recordOffset(file, index + 1);
    QByteArray out = file.left(start) + bytes + file.mid(end);
    const int count = int(quint8(file[76])) << 8 | quint8(file[77]);
    for (int i = index + 1; i < count; ++i)
        putBe32(out, pdbHeaderSize + 8 * i, quint32(recordOffset(file, i) + bytes.size() - (end - start)));
    return out;
}

QByteArray write(const Book& book)
{
    QList<QByteArray> records;
    const HuffCdic code(book.phrases);
    for (int at = 0; at < book.text.size(); at += book.recordSize) {
        const QByteArray chunk = book.text.mid(at, book.recordSize);
        QByteArray record = book.packing == Packing::PalmDoc    ? palmDocCompress(chunk)
                            : book.packing == Packing::HuffCdic ? code.encode(chunk)
                                                                : chunk;
        if (book.trailingEntries)
            record += QByteArray("\x00\x81", 2); // no multibyte overlap; a one-byte entry
        records << record;
    }
    const int textRecords = records.size();
    int huffRecord = 0, huffCount = 0;
    if (book.packing == Packing::HuffCdic) {
        huffRecord = 1 + records.size();
        huffCount = 1 + code.dictionaries.size();
        records << code.huff << code.dictionaries;
    }
    records << book.images << QByteArray("\xE9\x8E\r\n");
    records.prepend(recordZero(book, textRecords, 1 + textRecords, huffRecord, huffCount, quint32(book.text.size())));
    return pdb(records);
}

QByteArray decompressionBomb(int records, const QByteArray& text)
{
    QList<QPair<QByteArray, bool>> entries;
    for (int level = 0; level < 16; ++level)
        entries.append({HuffCdic::pack({257 + level, 257 + level}), false});
    entries.append({text, true});
    const HuffCdic code({});
    Book book;
    book.packing = Packing::HuffCdic;
    book.recordSize = 0xFFFF;
    QList<QByteArray> all = {recordZero(book, records, 1 + records, 1 + records, 3, quint32(records) * 0xFFFF)};
    for (int i = 0; i < records; ++i)
        all << HuffCdic::pack({256}) + QByteArray("\x00\x81", 2);
    all << code.huff << code.dictionaries.first() << HuffCdic::cdic(entries, 256 + entries.size(), 8);
    return pdb(all);
}

QByteArray palmDocCompress(const QByteArray& text)
{
    QByteArray out;
    QHash<QByteArray, QList<int>> seen; // positions of each three-byte string
    const int n = text.size();
    const auto plain = [](quint8 c) { return c == 0 || (c >= 0x09 && c < 0x80); };
    int i = 0;
    while (i < n) {
        int bestLength = 0, bestDistance = 0;
        if (i + 3 <= n) {
            const QList<int>& earlier = seen[text.mid(i, 3)];
            for (int k = earlier.size() - 1; k >= 0 && k >= earlier.size() - 16; --k) {
                const int distance = i - earlier.at(k);
                if (distance > 2047)
                    break;
                int length = 0;
                while (length < 10 && i + length < n && text[i + length] == text[i - distance + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
            }
        }
        const int step = bestLength >= 3 ? bestLength : 1;
        for (int k = i; k < i + step && k + 3 <= n; ++k)
            seen[text.mid(k, 3)].append(k);
        if (bestLength >= 3) {
            const int v = 0x8000 | bestDistance << 3 | (bestLength - 3);
            out += char(v >> 8);
            out += char(v);
        } else if (text[i] == ' ' && i + 1 < n && quint8(text[i + 1]) >= 0x40 && quint8(text[i + 1]) < 0x80) {
            out += char(quint8(text[i + 1]) ^ 0x80);
            seen[text.mid(i + 1, 3)].append(i + 1);
            ++i;
        } else if (plain(quint8(text[i]))) {
            out += text[i];
        } else {
            int run = 1;
            while (run < 8 && i + run < n && !plain(quint8(text[i + run])))
                ++run;
            out += char(run);
            out += text.mid(i, run);
            for (int k = i + 1; k < i + run && k + 3 <= n; ++k)
                seen[text.mid(k, 3)].append(k);
            i += run;
            continue;
        }
        i += step;
    }
    return out;
}

HuffCdic::HuffCdic(const QList<QByteArray>& phraseList, int codeBits)
    : phrases(phraseList)
{
    QList<QPair<QByteArray, bool>> entries;
    for (int b = 0; b < 256; ++b)
        entries.append({QByteArray(1, char(b)), true});
    for (int j = 0; j < phrases.size(); ++j) {
        QList<int> symbols;
        for (char c : phrases.at(j))
            symbols << quint8(c);
        entries.append(j % 2 ? qMakePair(pack(symbols), false) : qMakePair(phrases.at(j), true));
    }
    const int perRecord = 1 << codeBits;
    for (int first = 0; first < entries.size(); first += perRecord)
        dictionaries << cdic(entries.mid(first, perRecord), entries.size(), codeBits);

    // Every code is 10 bits long: the cache table sends each lookup to the code limits, which
    // reject lengths below 10.
    QByteArray cache, limits;
    for (int t = 0; t < 256; ++t)
        cache += be32(8);
    for (int length = 1; length <= 32; ++length) {
        const quint32 min = length < codeLength ? 1u << length : 0;
        const quint32 max = length == codeLength ? (1u << codeLength) - 1 : 0;
        limits += be32(min) + be32(max);
    }
    QByteArray cacheLe, limitsLe;
    for (int k = 0; k < cache.size(); k += 4)
        cacheLe += le32(quint32(quint8(cache[k])) << 24 | quint8(cache[k + 1]) << 16 | quint8(cache[k + 2]) << 8 | quint8(cache[k + 3]));
    for (int k = 0; k < limits.size(); k += 4)
        limitsLe += le32(quint32(quint8(limits[k])) << 24 | quint8(limits[k + 1]) << 16 | quint8(limits[k + 2]) << 8 | quint8(limits[k + 3]));
    const int start = 24;
    huff = "HUFF" + be32(24) + be32(start) + be32(start + 1024) + be32(start + 1280) + be32(start + 2304) + cache + limits + cacheLe
           + limitsLe;
}

QByteArray HuffCdic::encode(const QByteArray& text) const
{
    QList<int> symbols;
    for (int i = 0; i < text.size();) {
        int best = -1;
        for (int j = 0; j < phrases.size(); ++j) {
            if (text.mid(i).startsWith(phrases.at(j)) && (best < 0 || phrases.at(j).size() > phrases.at(best).size()))
                best = j;
        }
        symbols << (best >= 0 ? 256 + best : quint8(text[i]));
        i += best >= 0 ? phrases.at(best).size() : 1;
    }
    return pack(symbols);
}

QByteArray HuffCdic::pack(const QList<int>& symbols)
{
    QByteArray out;
    quint32 buffer = 0;
    int bits = 0;
    for (int symbol : symbols) {
        buffer = buffer << codeLength | quint32((1 << codeLength) - 1 - symbol);
        bits += codeLength;
        while (bits >= 8) {
            out += char(buffer >> (bits - 8));
            bits -= 8;
        }
    }
    if (bits > 0)
        out += char(buffer << (8 - bits));
    return out;
}

QByteArray HuffCdic::cdic(const QList<QPair<QByteArray, bool>>& entries, int totalEntries, int codeBits)
{
    QByteArray offsets, data;
    for (const auto& entry : entries) {
        offsets += be16(quint16(2 * entries.size() + data.size()));
        data += be16(quint16(entry.first.size() | (entry.second ? 0x8000 : 0))) + entry.first;
    }
    return "CDIC" + be32(16) + be32(quint32(totalEntries)) + be32(quint32(codeBits)) + offsets + data;
}

} // namespace MobiWriter
