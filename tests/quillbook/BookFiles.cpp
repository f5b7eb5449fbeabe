#include "tests/quillbook/BookFiles.h"

#include <QtEndian>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <zlib.h>

namespace BookFiles {

namespace {

// Raw deflate of data, or of zeroBytes zeros fed in blocks; the CRC of the uncompressed bytes.
QByteArray deflateRaw(const QByteArray& data, qint64 zeroBytes, quint32& crc)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray out;
    char buffer[65536];
    crc = crc32(0, nullptr, 0);
    qint64 remaining = zeroBytes > 0 ? zeroBytes : data.size();
    while (true) {
        const QByteArray& block = zeroBytes > 0 ? zeros : data;
        const uInt size = uInt(qMin<qint64>(remaining, block.size()));
        remaining -= size;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.constData()));
        stream.avail_in = size;
        crc = crc32(crc, stream.next_in, size);
        const int flush = remaining > 0 ? Z_NO_FLUSH : Z_FINISH;
        int result;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            result = deflate(&stream, flush);
            out.append(buffer, int(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
        if (flush == Z_FINISH)
            break;
    }
    deflateEnd(&stream);
    return out;
}

QByteArray chunk(const char* type, const QByteArray& data)
{
    QByteArray body = QByteArray(type) + data;
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(data.size(), out.data());
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), body.size())), crc.data());
    return out + body + crc;
}

} // namespace

bool writeZip(const QString& path, const QList<ZipEntry>& entries)
{
    QuaZip zip(path);
    zip.setZip64Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry& entry : entries) {
        quint32 crc;
        const QByteArray raw = deflateRaw(entry.data, entry.zeroBytes, crc);
        QuaZipNewInfo info(entry.name);
        info.uncompressedSize = entry.zeroBytes > 0 ? entry.zeroBytes : entry.data.size();
        if (entry.symbolicLink)
            info.externalAttr = 0120777u << 16; // the link's mode, in the high half as Unix writers keep it
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, info, nullptr, crc, Z_DEFLATED, 9, true) || file.write(raw) != raw.size())
            return false;
        file.close();
        if (file.getZipError() != UNZ_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == UNZ_OK;
}

QList<ZipEntry> epub(const QList<QPair<QString, QString>>& chapters, const QString& prefix)
{
    const QString p = prefix.isEmpty() ? QString() : prefix + ':';
    const QString declaration = prefix.isEmpty() ? QStringLiteral("xmlns=\"http://www.idpf.org/2007/opf\"")
                                                 : QStringLiteral("xmlns:%1=\"http://www.idpf.org/2007/opf\"").arg(prefix);
    QString manifest, spine;
    QList<ZipEntry> files;
    for (int i = 0; i < chapters.size(); ++i) {
        manifest += QStringLiteral("<%1item %1id=\"c%2\" %1href=\"%3\" %1media-type=\"application/xhtml+xml\"/>")
                        .arg(p, QString::number(i), chapters[i].first);
        spine += QStringLiteral("<%1itemref %1idref=\"c%2\"/>").arg(p, QString::number(i));
        files.append({QStringLiteral("OEBPS/") + QString(chapters[i].first).replace("%20", " "),
                      QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\">"
                                     "<head><title>c</title></head><body>%1</body></html>")
                          .arg(chapters[i].second)
                          .toUtf8()});
    }
    const QString package =
        QStringLiteral("<?xml version=\"1.0\"?><%1package %2 version=\"2.0\"><%1metadata "
                       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Book</dc:title></%1metadata>"
                       "<%1manifest>%3</%1manifest><%1spine>%4</%1spine></%1package>")
            .arg(p, declaration, manifest, spine);
    QList<ZipEntry> entries = {
        {QStringLiteral("mimetype"), "application/epub+zip"},
        {QStringLiteral("META-INF/container.xml"),
         "<?xml version=\"1.0\"?><container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
         "<rootfiles><rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>"
         "</rootfiles></container>"},
        {QStringLiteral("OEBPS/content.opf"), package.toUtf8()},
    };
    return entries + files;
}

QByteArray fb2(const QString& bodies, const QString& binaries)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
                          "xmlns:l=\"http://www.w3.org/1999/xlink\"><description><title-info>"
                          "<book-title>Book</book-title></title-info></description>%1%2</FictionBook>")
        .arg(bodies, binaries)
        .toUtf8();
}

QByteArray png(int width, int height)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    QByteArray row(1 + 3 * width, char(0x40));
    row[0] = 0; // no filter
    QByteArray rows;
    z_stream stream{};
    deflateInit(&stream, 9);
    char buffer[65536];
    for (int y = 0; y < height; ++y) {
        stream.next_in = reinterpret_cast<Bytef*>(row.data());
        stream.avail_in = row.size();
        const int flush = y + 1 < height ? Z_NO_FLUSH : Z_FINISH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            rows.append(buffer, int(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", rows) + chunk("IEND", QByteArray());
}

} // namespace BookFiles
