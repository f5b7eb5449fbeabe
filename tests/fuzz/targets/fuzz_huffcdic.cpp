// Fuzzes the HUFF/CDIC decoder. Input: a count byte n, then n records (the HUFF record and the
// CDIC records), each a 4-byte big-endian length and its bytes, then the text record to decode.
#include "quillbook/mobi/HuffCdicReader.h"

#include <QList>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const int count = input.isEmpty() ? 0 : quint8(input.at(0));
    int at = 1;
    QList<QByteArray> records;
    for (int i = 0; i < count && at + 4 <= input.size(); ++i) {
        const quint32 length = quint32(quint8(input.at(at))) << 24 | quint8(input.at(at + 1)) << 16
                               | quint8(input.at(at + 2)) << 8 | quint8(input.at(at + 3));
        at += 4;
        const int taken = int(qMin<quint32>(length, quint32(input.size() - at)));
        records.append(input.mid(at, taken));
        at += taken;
    }
    const QByteArray huff = records.isEmpty() ? QByteArray() : records.takeFirst();
    mobi::HuffCdicReader reader(huff, records);
    const QByteArray text = input.mid(at);
    for (int limit : {4096, 5}) {
        if (reader.decompress(text, limit).size() > limit)
            std::abort();
    }
    return 0;
}
