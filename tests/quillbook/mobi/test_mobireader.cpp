#include "quillbook/mobi/MobiDocument.h"
#include "quillbook/mobi/PdbFile.h"
#include "tests/quillbook/mobi/MobiWriter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QTextCodec>
#include <QtTest>

Q_DECLARE_METATYPE(BookFailure)

using namespace mobi;

namespace {

QString sampleMarkup()
{
    QString text = QStringLiteral("<html><head></head><body><h1>Erstes Kapitel</h1>");
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral("<p>Absatz %1: Grüße aus Köln, naïve café – the quick brown fox.</p>").arg(i);
    return text + QStringLiteral("<mbp:pagebreak/><h2>Ende</h2></body></html>");
}

QByteArray encoded(const QString& text, quint32 encoding)
{
    return encoding == 65001 ? text.toUtf8() : QTextCodec::codecForMib(2252)->fromUnicode(text);
}

QByteArray picture(const char* format, bool transparent)
{
    QImage image(40, 30, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(transparent ? Qt::transparent : Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Writes a book into the sandbox and returns its path.
QString bookFile(const QByteArray& bytes, const QString& name = QStringLiteral("book.mobi"))
{
    const QString path = TestFiles::sandbox() + QStringLiteral("/books/") + name;
    TestFiles::writeFile(path, bytes);
    return path;
}

// The folders that hold one work folder each; cleanup() checks that nothing else landed there.
const QString runs = QStringLiteral("/runs");

// Converts a book into a fresh work folder "job" inside a folder of its own.
QStringList convert(const QString& path, QString* workFolder = nullptr, BookFailure* failure = nullptr)
{
    static int run = 0;
    const QString work = TestFiles::sandbox() + runs + QStringLiteral("/%1/job").arg(++run);
    QDir().mkpath(work);
    MobiDocument document(path);
    document.convert(work);
    if (workFolder)
        *workFolder = work;
    if (failure)
        *failure = document.failure();
    return document.pageList();
}

} // namespace

class MobiReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const QString& run : TestFiles::entries(TestFiles::sandbox() + runs))
            QCOMPARE(TestFiles::entries(TestFiles::sandbox() + runs + QLatin1Char('/') + run), QStringList{QStringLiteral("job")});
    }

    void textOfWrittenBooks_data()
    {
        QTest::addColumn<int>("packing");
        QTest::addColumn<quint32>("encoding");
        QTest::addColumn<bool>("trailing");
        for (quint32 encoding : {65001u, 1252u}) {
            const QByteArray e = QByteArray::number(encoding);
            QTest::newRow("plain " + e) << int(MobiWriter::Packing::None) << encoding << true;
            QTest::newRow("PalmDoc " + e) << int(MobiWriter::Packing::PalmDoc) << encoding << true;
            QTest::newRow("PalmDoc without trailing entries " + e) << int(MobiWriter::Packing::PalmDoc) << encoding << false;
            QTest::newRow("HUFF/CDIC " + e) << int(MobiWriter::Packing::HuffCdic) << encoding << true;
        }
    }

    void textOfWrittenBooks()
    {
        QFETCH(int, packing);
        QFETCH(quint32, encoding);
        QFETCH(bool, trailing);
        MobiWriter::Book book;
        book.text = encoded(sampleMarkup(), encoding);
        book.packing = MobiWriter::Packing(packing);
        book.encoding = encoding;
        book.trailingEntries = trailing;
        book.recordSize = 1000; // characters of two bytes run across records
        book.phrases = {"<p>Absatz ", "Grüße", " the ", "quick brown"};
        PdbFile file(bookFile(MobiWriter::write(book)));
        QVERIFY(!file.isEncrypted());
        QCOMPARE(file.text(), sampleMarkup());
        QCOMPARE(file.exthHeader().records.size(), 2);
        QCOMPARE(file.fullName(), QByteArray("Test Book"));
    }

    void convertWritesPageAndPictures()
    {
        MobiWriter::Book book;
        book.text = "<html><body><p>Vorher</p><img recindex=\"00002\"/><p><img align=\"left\" recindex=\"00001\" alt=\"x\"></p>"
                    "<p><a filepos=0000000048>Zum Bild</a></p></body></html>";
        book.images = {picture("JPG", false), picture("PNG", true)};
        QString work;
        const QStringList pages = convert(bookFile(MobiWriter::write(book)), &work);
        QCOMPARE(pages, QStringList({work, QStringLiteral("job.html")}));
        QCOMPARE(TestFiles::entries(work), QStringList({"job.html", "pdbrec_00000.jpg", "pdbrec_00001.jpg"}));
        const QString page = QString::fromUtf8(TestFiles::readFile(work + QStringLiteral("/job.html")));
        QVERIFY(page.startsWith(QStringLiteral("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\"/></head><html>")));
        // recindex counts pictures from 1; the files count from 0.
        QVERIFY(page.contains(QStringLiteral("<p>Vorher</p><center><img src=\"pdbrec_00001.jpg\"></center><a name=\"0000000048\">&nbsp;</a>"
                                             "<p><center><img src=\"pdbrec_00000.jpg\"></center></p><p><a href=\"#0000000048\">Zum Bild</a>")));
        // The transparent picture lies on white.
        QCOMPARE(QImage(work + QStringLiteral("/pdbrec_00001.jpg")).pixelColor(5, 5).lightness(), 255);
    }

    // ... and say why.
    void encryptedOrEmptyBooksGiveNoPage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<BookFailure>("failure");
        MobiWriter::Book book;
        book.text = "<p>Geheim</p>";
        book.encryption = 2;
        QTest::newRow("encrypted") << MobiWriter::write(book) << BookFailure::Encrypted;
        book.encryption = 1;
        QTest::newRow("old encryption") << MobiWriter::write(book) << BookFailure::Encrypted;
        book.encryption = 0;
        book.text.clear();
        QTest::newRow("no text") << MobiWriter::write(book) << BookFailure::Damaged;
        QTest::newRow("empty file") << QByteArray() << BookFailure::NotThisFormat;
        QTest::newRow("not a book") << QByteArray("%PDF-1.4 ").repeated(100) << BookFailure::NotThisFormat;
        // Each record expands far past the record size: damaged, and never held whole.
        QTest::newRow("decompression bomb") << MobiWriter::decompressionBomb(600, "<p>xx</p>") << BookFailure::Damaged;
    }

    void encryptedOrEmptyBooksGiveNoPage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(BookFailure, failure);
        QString work;
        BookFailure reported = BookFailure::None;
        QVERIFY(convert(bookFile(bytes), &work, &reported).isEmpty());
        QVERIFY(TestFiles::entries(work).isEmpty());
        QCOMPARE(reported, failure);
    }

    void rewriteHtml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("singleByte");
        QTest::addColumn<QString>("expected");
        QTest::newRow("target in text") << "<p>abcdef</p><a filepos=5>x</a>" << true
                                        << "<p>ab<a name=\"5\">&nbsp;</a>cdef</p><a href=\"#5\">x</a>";
        QTest::newRow("target inside a tag") << "<p class=x>abc</p><a href=\"old\" filepos='06'>" << true
                                             << "<a name=\"06\">&nbsp;</a><p class=x>abc</p><a href=\"#06\">";
        QTest::newRow("target at the end and zero") << "<A FILEPOS=\"40\">a</a><a filepos=0000>" << true
                                                    << "<a href=\"#40\">a</a><a href=\"#0000\">";
        QTest::newRow("targets count UTF-8 bytes") << QStringLiteral("<p>ü€x</p><a filepos=8>") << false
                                                   << QStringLiteral("<p>ü€<a name=\"8\">&nbsp;</a>x</p><a href=\"#8\">");
        QTest::newRow("image without recindex first") << "<IMG src=a><p>t</p><img recindex=\"3\" b>c" << true
                                                      << "<IMG src=a><p>t</p><center><img src=\"pdbrec_00002.jpg\"></center>c";
        QTest::newRow("image without any recindex") << "<img src=a><img src=b>" << true << "<img src=a><img src=b>";
        // Breaks that would leave a page with nothing on it (at the start, twice in a row, at the
        // end before empty anchors) go.
        QTest::newRow("page breaks")
            << "<mbp:pagebreak/>a<mbp:pagebreak/><MBP:PAGEBREAK/>b<mbp:pagebreak/><mbp:pagebreak/> <a>&nbsp;</a><mbp:pagebreak/>"
            << true << "a<p style=\"page-break-after:always\"></p><MBP:PAGEBREAK/>b <a>&nbsp;</a>";
        QTest::newRow("headings without a close") << "<h1>a<h2 x='>'>b</h3><h5>c</h5>" << true
                                                  << "<h1>a<h2 x='>'>b</h3><h5>c</h5>";
    }

    void rewriteHtml()
    {
        QFETCH(QString, text);
        QFETCH(bool, singleByte);
        QFETCH(QString, expected);
        QCOMPARE(MobiDocument::rewriteHtml(text, singleByte), expected);
    }

    void headingsGetAnchors()
    {
        const QString html = MobiDocument::rewriteHtml(
            QStringLiteral("<h1>A</h1><H2 class=\"t>\">B</h2><h3 a='1'>C</H3><h4>D</h4><h5>E</h5><h6>F</h6>"), true);
        const QString anchor = QStringLiteral("<a id=\"[0-9a-f]{32}\">&nbsp;</a>");
        const QRegularExpression expected(QStringLiteral("^<h1>A</h1>%1<H2 class=\"t>\">B</h2>%1<h3 a='1'>C</H3>%1<h4>D</h4>%1<h5>E</h5><h6>F</h6>$").arg(anchor));
        QVERIFY2(expected.match(html).hasMatch(), qPrintable(html));
    }

    void unknownEncodingReadsAsWindows1252()
    {
        MobiWriter::Book book;
        book.text = "<p>caf\xE9</p>";
        book.encoding = 0;
        PdbFile file(bookFile(MobiWriter::write(book)));
        QCOMPARE(file.text(), QStringLiteral("<p>café</p>"));
    }

    void damagedBooksStayInside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        MobiWriter::Book book;
        book.text = sampleMarkup().toUtf8();
        book.images = {picture("JPG", false)};
        const QByteArray good = MobiWriter::write(book);
        book.packing = MobiWriter::Packing::HuffCdic;
        const QByteArray huff = MobiWriter::write(book);
        const int zero = MobiWriter::recordOffset(good, 0);
        const int zeroHuff = MobiWriter::recordOffset(huff, 0);
        const auto patched = [](QByteArray bytes, int pos, quint32 value, bool wide = true) {
            if (wide)
                MobiWriter::putBe32(bytes, pos, value);
            else
                MobiWriter::putBe16(bytes, pos, quint16(value));
            return bytes;
        };
        const int exth = zero + 16 + 0xE8;
        QTest::newRow("record count beyond the file") << patched(good, 76, 0xFFFF, false);
        QTest::newRow("record offsets beyond the file") << patched(patched(good, 78 + 8, 0xFFFFFFF0), 78 + 16, 0x7FFFFFFF);
        QTest::newRow("record offsets descending") << patched(good, 78 + 16, quint32(zero + 4));
        QTest::newRow("MOBI header length") << patched(good, zero + 20, 0xFFFFFFFF);
        QTest::newRow("EXTH count") << patched(good, exth + 8, 0xFFFFFFFF);
        QTest::newRow("EXTH record length") << patched(good, exth + 16, 0xFFFFFFFC);
        QTest::newRow("full name wraps") << patched(patched(good, zero + 16 + 68, 0xFFFFFFF0), zero + 16 + 72, 0x20);
        QTest::newRow("first non-book index") << patched(good, zero + 16 + 64, 0xFFFFFFFF);
        QTest::newRow("text record count and size") << patched(patched(good, zero + 8, 0xFFFF, false), zero + 10, 0xFFFF, false);
        QTest::newRow("trailing entries larger than the record") << patched(good, zero + 16 + 0xE2, 0xFFFF, false);
        QTest::newRow("HUFF records beyond the file") << patched(huff, zeroHuff + 16 + 96, 0xFFFFFFFE);
        QTest::newRow("HUFF record count") << patched(huff, zeroHuff + 16 + 100, 0xFFFFFFFF);
        for (int cut : {10, 77, 90, zero + 20, zero + 200, zero + 300, good.size() / 2, good.size() - 700, good.size() - 3})
            QTest::newRow(qPrintable(QStringLiteral("cut at %1").arg(cut))) << good.left(cut);
        QTest::newRow("HUFF cut") << huff.left(huff.size() - 1500);
    }

    void damagedBooksStayInside()
    {
        QFETCH(QByteArray, bytes);
        QString work;
        const QStringList pages = convert(bookFile(bytes), &work);
        QVERIFY(pages.isEmpty() || pages == QStringList({work, QStringLiteral("job.html")}));
        for (const QString& entry : TestFiles::entries(work))
            QVERIFY2(QRegularExpression(QStringLiteral("^(job\\.html|pdbrec_\\d{5}\\.jpg)$")).match(entry).hasMatch(), qPrintable(entry));
    }

    // A text record whose offset points past its start gives a scrap (it is read from the middle
    // of its compressed data): it is left out and named, and the book goes on with the next
    // record. A book whose only text record is such gives no text.
    void textRecordsThatStartElsewhereAreLeftOut()
    {
        MobiWriter::Book book;
        book.text = sampleMarkup().toUtf8();
        book.recordSize = 1000;
        QByteArray bytes = MobiWriter::write(book);
        MobiWriter::putBe32(bytes, 78 + 8, quint32(MobiWriter::recordOffset(bytes, 2) - 10));
        PdbFile damaged(bookFile(bytes));
        QCOMPARE(damaged.text(), QString::fromUtf8(book.text.mid(1000)));
        QCOMPARE(damaged.damagedTextRecords(), QList<int>{1});

        book.text = "<html><body><p>" + QByteArray("One record of text. ").repeated(40) + "</p></body></html>";
        book.recordSize = 4096;
        bytes = MobiWriter::write(book);
        MobiWriter::putBe32(bytes, 78 + 8, quint32(MobiWriter::recordOffset(bytes, 2) - 10));
        BookFailure failure = BookFailure::None;
        QCOMPARE(convert(bookFile(bytes, QStringLiteral("one.mobi")), nullptr, &failure), QStringList());
        QCOMPARE(failure, BookFailure::Damaged);
    }

    // A record that decompresses to more than the record size is damaged: it is left out, and so
    // are the ends of the tags it cut (the one the text before it opened, the one the text after
    // it closes). A text that stops inside a tag loses that tag too.
    void recordsPastTheirSizeAreLeftOut()
    {
        MobiWriter::Book book;
        book.recordSize = 40;
        book.text = "<html><body><p>First record text, <b cla"   // 40 bytes
                    "ss=\"x\">second record is left out</b> a <" // 40 bytes
                    "/b> third record text.</p></body><";
        QCOMPARE(book.text.size(), 114);
        const QByteArray runsOver = MobiWriter::palmDocCompress("abc") + QByteArray("\x80\x1F").repeated(10) + QByteArray("\x00\x81", 2);
        PdbFile damaged(bookFile(MobiWriter::replaceRecord(MobiWriter::write(book), 2, runsOver)));
        QCOMPARE(damaged.text(), QStringLiteral("<html><body><p>First record text,  third record text.</p></body>"));
        QCOMPARE(damaged.damagedTextRecords(), QList<int>{2});
    }

    void decompressionBombIsRefused()
    {
        // 600 records of two bytes, each expanding to 64 KiB: 38 MiB of text.
        const QByteArray file = MobiWriter::decompressionBomb(600, "<p>xx</p>");
        QElapsedTimer timer;
        timer.start();
        PdbFile bomb(bookFile(file));
        QVERIFY(bomb.text().isEmpty());
        QVERIFY(timer.elapsed() < 20000);

        // 6000 records that expand into 2^16 symbols each without any text: the decoding stops
        // long before it has spent the 400 million steps.
        timer.restart();
        PdbFile empty(bookFile(MobiWriter::decompressionBomb(6000, QByteArray()), QStringLiteral("empty.mobi")));
        QVERIFY(empty.text().isEmpty());
        QVERIFY(timer.elapsed() < 5000);
    }
};

QTEST_MAIN(MobiReaderTest)
#include "test_mobireader.moc"
