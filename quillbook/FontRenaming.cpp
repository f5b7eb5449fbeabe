#include "quillbook/FontRenaming.h"

#include <QMap>
#include <QtEndian>

namespace FontRenaming {

namespace {

quint32 be32(const QByteArray& bytes, int at)
{
    return at >= 0 && at + 4 <= bytes.size() ? qFromBigEndian<quint32>(bytes.constData() + at) : 0;
}

quint16 be16(const QByteArray& bytes, int at)
{
    return at >= 0 && at + 2 <= bytes.size() ? qFromBigEndian<quint16>(bytes.constData() + at) : 0;
}

void put32(QByteArray& bytes, quint32 value)
{
    char out[4];
    qToBigEndian(value, out);
    bytes.append(out, 4);
}

void put16(QByteArray& bytes, quint16 value)
{
    char out[2];
    qToBigEndian(value, out);
    bytes.append(out, 2);
}

quint32 checksum(const QByteArray& table)
{
    quint32 sum = 0;
    for (int at = 0; at < table.size(); at += 4) {
        quint32 word = 0;
        for (int i = 0; i < 4; ++i)
            word = (word << 8) | (at + i < table.size() ? uchar(table.at(at + i)) : 0);
        sum += word;
    }
    return sum;
}

// The tables of a font by tag, and its flavour (the sfnt version); empty when damaged.
struct Tables
{
    quint32 flavour = 0;
    QMap<quint32, QByteArray> byTag;
};

Tables sfntTables(const QByteArray& font)
{
    Tables tables;
    const int count = be16(font, 4);
    if (font.size() < 12 + 16 * count)
        return tables;
    for (int i = 0; i < count; ++i) {
        const int record = 12 + 16 * i;
        const qint64 offset = be32(font, record + 8);
        const qint64 length = be32(font, record + 12);
        if (offset + length > font.size())
            return Tables();
        tables.byTag.insert(be32(font, record), font.mid(int(offset), int(length)));
    }
    tables.flavour = be32(font, 0);
    return tables;
}

Tables woffTables(const QByteArray& font)
{
    Tables tables;
    const int count = be16(font, 12);
    if (font.size() < 44 + 20 * count)
        return tables;
    for (int i = 0; i < count; ++i) {
        const int entry = 44 + 20 * i;
        const qint64 offset = be32(font, entry + 4);
        const qint64 packed = be32(font, entry + 8);
        const quint32 length = be32(font, entry + 12);
        if (offset + packed > font.size() || packed > length || length > quint32(64 << 20))
            return Tables();
        QByteArray table = font.mid(int(offset), int(packed));
        if (packed < length) {
            QByteArray sized;
            put32(sized, length);
            table = qUncompress(sized + table);
        }
        if (table.size() != int(length))
            return Tables();
        tables.byTag.insert(be32(font, entry), table);
    }
    tables.flavour = be32(font, 4);
    return tables;
}

// The name table with family in the family records (1, 16 and 21); empty when damaged.
QByteArray renamed(const QByteArray& name, const QString& family)
{
    const int format = be16(name, 0);
    const int count = be16(name, 2);
    const int storage = be16(name, 4);
    const int tagsAt = 6 + 12 * count;
    const int tagCount = format == 1 ? be16(name, tagsAt) : 0;
    if (format > 1 || name.size() < tagsAt + (format == 1 ? 2 + 4 * tagCount : 0))
        return QByteArray();
    QByteArray utf16;
    for (const QChar c : family)
        put16(utf16, c.unicode());
    const QByteArray ascii = family.toLatin1();

    QByteArray records;
    QByteArray strings;
    auto store = [&](const QByteArray& text) {
        put16(records, quint16(text.size()));
        put16(records, quint16(strings.size()));
        strings += text;
    };
    for (int i = 0; i < count; ++i) {
        const int record = 6 + 12 * i;
        const int platform = be16(name, record);
        const int nameId = be16(name, record + 6);
        records += name.mid(record, 8);
        if (nameId == 1 || nameId == 16 || nameId == 21)
            store(platform == 0 || platform == 3 ? utf16 : ascii);
        else
            store(name.mid(storage + be16(name, record + 10), be16(name, record + 8)));
    }
    if (format == 1) {
        put16(records, quint16(tagCount));
        for (int i = 0; i < tagCount; ++i) {
            const int tag = tagsAt + 2 + 4 * i;
            store(name.mid(storage + be16(name, tag + 2), be16(name, tag)));
        }
    }
    if (strings.size() > 0xFFFF)
        return QByteArray();
    QByteArray table;
    put16(table, quint16(format));
    put16(table, quint16(count));
    put16(table, quint16(6 + records.size()));
    return table + records + strings;
}

QByteArray sfnt(const Tables& tables)
{
    const int count = tables.byTag.size();
    int power = 1;
    int exponent = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++exponent;
    }
    QByteArray font;
    put32(font, tables.flavour);
    put16(font, quint16(count));
    put16(font, quint16(power * 16));
    put16(font, quint16(exponent));
    put16(font, quint16(count * 16 - power * 16));
    QByteArray data;
    const int dataStart = 12 + 16 * count;
    for (auto table = tables.byTag.constBegin(); table != tables.byTag.constEnd(); ++table) {
        put32(font, table.key());
        put32(font, checksum(table.value()));
        put32(font, quint32(dataStart + data.size()));
        put32(font, quint32(table.value().size()));
        data += table.value();
        data.append((4 - data.size() % 4) % 4, '\0');
    }
    return font + data;
}

} // namespace

QByteArray withFamily(const QByteArray& font, const QString& family)
{
    const quint32 signature = be32(font, 0);
    Tables tables;
    if (signature == 0x00010000 || signature == 0x4F54544F /* OTTO */ || signature == 0x74727565 /* true */)
        tables = sfntTables(font);
    else if (signature == 0x774F4646 /* wOFF */)
        tables = woffTables(font);
    const quint32 nameTag = 0x6E616D65; // "name"
    if (!tables.byTag.contains(nameTag))
        return QByteArray();
    const QByteArray name = renamed(tables.byTag.value(nameTag), family);
    if (name.isEmpty())
        return QByteArray();
    tables.byTag.insert(nameTag, name);
    return sfnt(tables);
}

} // namespace FontRenaming
