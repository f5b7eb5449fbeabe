// Writes the seed books of the fuzz targets into one folder per target: books of the tests'
// writers (MOBI, EPUB, FB2, PalmDoc and HUFF/CDIC records), the small Calibre EPUB of the test
// data and, when Calibre is installed, a MOBI that Calibre made from one of the EPUBs.

#include "BookFiles.h"
#include "MobiWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace {

QString folder;

bool put(const QString& target, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder + QLatin1Char('/') + target);
    QFile file(folder + QLatin1Char('/') + target + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray jpeg()
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 50);
    return bytes;
}

const char markup[] = "<html><head><guide><reference type=\"toc\" filepos=0000000180 /></guide></head><body>"
                      "<h1>Kapitel</h1><p>Gr\xC3\xBC\xC3\x9F"
                      "e, the quick brown fox.</p><p><a filepos=0000000120>"
                      "Link</a></p><img recindex=\"00001\" /><mbp:pagebreak/><h2 class='x'>Zwei</h2><p>Ende.</p>"
                      "</body></html>";

bool mobiSeeds()
{
    bool ok = true;
    const QList<QPair<const char*, MobiWriter::Packing>> packings = {
        {"plain", MobiWriter::Packing::None}, {"palmdoc", MobiWriter::Packing::PalmDoc}, {"huff", MobiWriter::Packing::HuffCdic}};
    for (const auto& packing : packings) {
        MobiWriter::Book book;
        book.text = markup;
        book.packing = packing.second;
        book.phrases = {"<p>", "the ", "quick brown"};
        book.recordSize = 256;
        book.images = {jpeg(), BookFiles::png(8, 8)};
        ok &= put("mobi", QStringLiteral("%1.mobi").arg(QLatin1String(packing.first)), MobiWriter::write(book));
        book.encoding = 1252;
        book.text = QByteArray(markup).replace("\xC3\xBC\xC3\x9F", "\xFC\xDF");
        book.trailingEntries = false;
        ok &= put("mobi", QStringLiteral("%1-1252.mobi").arg(QLatin1String(packing.first)), MobiWriter::write(book));
    }
    MobiWriter::Book encrypted;
    encrypted.text = markup;
    encrypted.encryption = 2;
    ok &= put("mobi", QStringLiteral("encrypted.mobi"), MobiWriter::write(encrypted));

    ok &= put("palmdoc", QStringLiteral("text"), MobiWriter::palmDocCompress(QByteArray(markup).repeated(8)));
    const MobiWriter::HuffCdic code({"<p>", "the ", "quick brown", "</p>"});
    QByteArray huff(1, char(1 + code.dictionaries.size()));
    for (const QByteArray& record : QList<QByteArray>{code.huff} + code.dictionaries) {
        QByteArray length(4, '\0');
        MobiWriter::putBe32(length, 0, quint32(record.size()));
        huff += length + record;
    }
    ok &= put("huffcdic", QStringLiteral("text"), huff + code.encode(markup));
    return ok;
}

bool bookSeeds()
{
    bool ok = true;
    const QList<QPair<QString, QString>> chapters = {
        {"one.xhtml", "<h1>Erstes Kapitel</h1><p>Gr\u00fc\u00dfe <b>aus</b> K\u00f6ln.</p><p><img src=\"pic.png\"/></p>"},
        {"two.xhtml", "<h1>Zweites</h1><p><a href=\"one.xhtml\">Zur\u00fcck</a></p>"}};
    QList<BookFiles::ZipEntry> epub = BookFiles::epub(chapters);
    epub.append({QStringLiteral("OEBPS/pic.png"), BookFiles::png(8, 8)});
    ok &= BookFiles::writeZip(folder + QStringLiteral("/epub/book.epub"), epub);
    ok &= BookFiles::writeZip(folder + QStringLiteral("/epub/prefixed.epub"), BookFiles::epub(chapters, QStringLiteral("opf")));
    QFile::remove(folder + QStringLiteral("/epub/voyage.epub"));
    ok &= QFile::copy(QStringLiteral(QP_BOOK_DATA "/voyage.epub"), folder + QStringLiteral("/epub/voyage.epub"));

    ok &= put("fb2", QStringLiteral("book.fb2"),
              BookFiles::fb2("<body><title><p>Titel</p></title><section><title><p>Eins</p></title><p>Fisch &amp; Chips."
                             "</p><image l:href=\"#pic.png\"/></section><section><p>Zwei.</p></section></body>",
                             "<binary id=\"pic.png\" content-type=\"image/png\">" + BookFiles::png(8, 8).toBase64() + "</binary>"));

    // A MOBI as Calibre writes it (PalmDoc, UTF-8, trailing entries, index records).
    const QString calibre = QStandardPaths::findExecutable(QStringLiteral("ebook-convert"));
    if (!calibre.isEmpty()) {
        QProcess convert;
        convert.start(calibre, {folder + QStringLiteral("/epub/book.epub"), folder + QStringLiteral("/mobi/calibre.mobi")});
        ok &= convert.waitForFinished(300000) && convert.exitCode() == 0;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder + QStringLiteral("/epub"));
    const bool ok = mobiSeeds() && bookSeeds();
    std::printf("seeds in %s: %s\n", argv[1], ok ? "written" : "FAILED");
    return ok ? 0 : 1;
}
