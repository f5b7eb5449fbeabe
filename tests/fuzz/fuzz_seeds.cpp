// Writes the seeds of the fuzz targets into one folder per target: books of the tests' writers
// (MOBI, EPUB, FB2, PalmDoc and HUFF/CDIC records), the small Calibre EPUB of the test data and,
// when Calibre is installed, a MOBI that Calibre made from one of the EPUBs; PDFs as the tests
// make them (by hand, by Qt, Ghostscript and LibreOffice), whole and damaged.

#include "tests/frompdf/TestPdfs.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/platform/pdf2word/RealDocuments.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/quillbook/mobi/MobiWriter.h"

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

// The PDFs go to both PDF targets: opening reaches the page tree, the page target the page.
bool putPdf(const QString& name, const QByteArray& bytes)
{
    return put(QStringLiteral("pdfopen"), name, bytes) && put(QStringLiteral("pdfpage"), name, bytes);
}

bool putPdfFile(const QString& name, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && putPdf(name, file.readAll());
}

QByteArray refs(const QList<int>& numbers)
{
    QByteArray out;
    for (int number : numbers)
        out += QByteArray::number(number) + " 0 R ";
    return out;
}

// Two pages (objects 4 and 5, their contents 6 and 7) under the page-tree node given by its
// dictionary (object 2); untyped pages when asked.
QByteArray twoPages(const QByteArray& node, bool typed = true)
{
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", node,
                                 "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    for (int page = 1; page <= 2; ++page)
        objects << QByteArray(typed ? "<< /Type /Page " : "<< ") + "/Parent 2 0 R /MediaBox [0 0 612 792] "
                       + "/Resources << /Font << /F1 3 0 R >> >> /Contents " + QByteArray::number(5 + page) + " 0 R >>";
    for (int page = 1; page <= 2; ++page) {
        const QByteArray content = "BT /F1 24 Tf 72 700 Td (Page " + QByteArray::number(page) + ") Tj ET";
        objects << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    }
    return PdfLibraryFixtures::pdfFile(objects, 1);
}

bool handMadePdfs()
{
    using namespace PdfLibraryFixtures;
    bool ok = putPdf(QStringLiteral("text.pdf"), textPdf(2, 90, QStringLiteral("Seite"), "/CropBox [10 10 600 780]"));
    ok &= putPdf(QStringLiteral("formfont.pdf"), formFontPdf());
    ok &= putPdf(QStringLiteral("busy.pdf"), busyPdf(50));
    const QByteArray text = textPdf(3);
    ok &= putPdf(QStringLiteral("cut.pdf"), text.left(text.size() * 2 / 3));
    ok &= putPdf(QStringLiteral("no-xref.pdf"), text.left(text.lastIndexOf("xref")));
    // Page trees that opening has to rebuild: wrong counts, a loop, untyped pages, a wrong root.
    ok &= putPdf(QStringLiteral("tree-count.pdf"), twoPages("<< /Type /Pages /Kids [" + refs({4, 5}) + "] /Count 7 >>"));
    ok &= putPdf(QStringLiteral("tree-loop.pdf"), twoPages("<< /Type /Pages /Kids [" + refs({4, 2, 5}) + "] /Count 2 >>"));
    ok &= putPdf(QStringLiteral("tree-untyped.pdf"), twoPages("<< /Kids [" + refs({4, 5}) + "] /Count 2 >>", false));
    ok &= putPdf(QStringLiteral("tree-font.pdf"), twoPages("<< /Type /Font >>"));
    return ok;
}

// PDFs of real producers: Qt (text, a scan, HTML with a table), LibreOffice (a paper with
// columns, a table, footnotes, right-to-left text), Ghostscript (a chart), qpdf (encryption).
bool producedPdfs()
{
    const QString made = folder + QStringLiteral("/made");
    QDir().mkpath(made);
    bool ok = TestPdfs::writeTextPdf(made + QStringLiteral("/qt-text.pdf"), TestPdfs::numberedPages(2));
    ok &= TestPdfs::writeScannedPdf(made + QStringLiteral("/qt-scan.pdf"), TestPdfs::numberedPages(1), 50);
    ok &= TestPdfs::encryptPdf(made + QStringLiteral("/qt-text.pdf"), made + QStringLiteral("/encrypted.pdf"), QString(),
                               QStringLiteral("owner"));
    ok &= DocumentPdfs::writeReportPdf(made + QStringLiteral("/report.pdf"));
    ok &= DocumentPdfs::writeInvisibleTextPdf(made + QStringLiteral("/invisible.pdf"), QStringLiteral("Recognised text"));
    ok &= DocumentPdfs::writeHtmlPdf(made + QStringLiteral("/table.pdf"),
                                     QStringLiteral("<table border=1><tr><td>Jahr</td><td>Menge</td></tr>"
                                                    "<tr><td>2023</td><td>1,5</td></tr></table><p>x<sup>2</sup></p>"));
    ok &= RealDocuments::writeQtChartPdf(made + QStringLiteral("/qt-chart.pdf"), 1);
    ok &= RealDocuments::writeGhostscriptPdf(made + QStringLiteral("/ghostscript.pdf"), 1);
    ok &= RealDocuments::paper(1, 1).writePdf(made + QStringLiteral("/libreoffice.pdf"));
    for (const QString& name : QDir(made).entryList({QStringLiteral("*.pdf")}, QDir::Files))
        ok &= putPdfFile(name, made + QLatin1Char('/') + name);
    QDir(made).removeRecursively();
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
    const bool ok = mobiSeeds() && bookSeeds() && handMadePdfs() && producedPdfs();
    std::printf("seeds in %s: %s\n", argv[1], ok ? "written" : "FAILED");
    return ok ? 0 : 1;
}
