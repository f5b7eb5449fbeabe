// MOBI books through the quillbook program: books made by Calibre's ebook-convert from EPUBs of
// the test's own, books of the test's own writer, and damaged ones.

#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/quillbook/mobi/MobiWriter.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCodec>
#include <QtTest>

class MobiBooksTest : public QObject
{
    Q_OBJECT

private:
    QString m_folder;
    int m_count = 0;

    QString unique(const QString& suffix) { return m_folder + QStringLiteral("/f%1%2").arg(++m_count).arg(suffix); }

    int quillbook(const QString& source, const QString& target, QByteArray* log = nullptr)
    {
        const QString request = unique(QStringLiteral(".req"));
        TestFiles::writeFile(request, QJsonDocument::fromVariant(QVariantMap{{"file_id", "id"}, {"format", "mobi"}}).toJson());
        return TestFiles::run(QCoreApplication::applicationDirPath() + QStringLiteral("/quillbook"),
                              {"--o", request, "--s", source, "--t", target}, nullptr, log);
    }

    static QString text(const QString& pdf) { return PdfLibraryFixtures::pdftotext(pdf).simplified(); }

private slots:
    void initTestCase()
    {
        m_folder = TestFiles::sandbox() + QStringLiteral("/books");
        QVERIFY(QDir().mkpath(m_folder));
    }

    // quillbook leaves no file of its work folder behind.
    void cleanup()
    {
        QDirIterator files(QDir::tempPath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QVERIFY2(!files.hasNext(), qPrintable(files.next()));
    }

    void calibreBook()
    {
        const QString converter = QStandardPaths::findExecutable(QStringLiteral("ebook-convert"));
        QVERIFY2(!converter.isEmpty(), "Calibre's ebook-convert is needed (Debian calibre)");
        QString second;
        for (int i = 0; i < 60; ++i)
            second += QStringLiteral("<p>Satz %1 über Brücken, Straßen und Flüsse.</p>").arg(i);
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"one.xhtml", "<h1>Kapitel eins</h1><p>Am Anfang war das Wort.</p><p><img src=\"pic.png\" alt=\"Bild\"/></p>"},
             {"two.xhtml", "<h1>Kapitel zwei</h1>" + second},
             {"three.xhtml", "<h1>Kapitel drei</h1><p>Ende gut, alles gut.</p>"}});
        entries.append({QStringLiteral("OEBPS/pic.png"), BookFiles::png(120, 80)});
        const QString epub = unique(QStringLiteral(".epub"));
        const QString mobi = unique(QStringLiteral(".mobi"));
        QVERIFY(BookFiles::writeZip(epub, entries));
        QCOMPARE(TestFiles::run(converter, {epub, mobi}, nullptr, nullptr, 300000), 0);

        const QString pdf = unique(QStringLiteral(".pdf"));
        QCOMPARE(quillbook(mobi, pdf), 0);
        QVERIFY2(QRegularExpression(QStringLiteral("Kapitel eins Am Anfang war das Wort\\..*Kapitel zwei Satz 0 über Brücken, "
                                                   "Straßen und Flüsse\\. Satz 1 .*Satz 59 über.*Kapitel drei Ende gut, alles gut\\."))
                     .match(text(pdf))
                     .hasMatch(),
                 qPrintable(text(pdf)));
        QByteArray images;
        TestFiles::run(QStringLiteral("pdfimages"), {"-list", pdf}, &images);
        QVERIFY2(images.contains("image"), images.constData());
    }

    void writtenBooks_data()
    {
        QTest::addColumn<int>("packing");
        QTest::addColumn<quint32>("encoding");
        QTest::newRow("HUFF/CDIC, Windows-1252") << int(MobiWriter::Packing::HuffCdic) << 1252u;
        QTest::newRow("PalmDoc, UTF-8") << int(MobiWriter::Packing::PalmDoc) << 65001u;
    }

    void writtenBooks()
    {
        QFETCH(int, packing);
        QFETCH(quint32, encoding);
        const QString markup = QStringLiteral("<html><body><h1>Überschrift</h1><p>Grüße – première partie.</p>"
                                              "<mbp:pagebreak/><p>Zweite Seite.</p></body></html>");
        MobiWriter::Book book;
        book.packing = MobiWriter::Packing(packing);
        book.encoding = encoding;
        book.text = encoding == 65001 ? markup.toUtf8() : QTextCodec::codecForMib(2252)->fromUnicode(markup);
        book.phrases = {"<p>", "Seite"};
        const QString source = unique(QStringLiteral(".mobi"));
        TestFiles::writeFile(source, MobiWriter::write(book));
        const QString pdf = unique(QStringLiteral(".pdf"));
        QCOMPARE(quillbook(source, pdf), 0);
        QCOMPARE(PdfLibraryFixtures::pdfinfo(pdf).value(QStringLiteral("Pages")), QStringLiteral("2"));
        QCOMPARE(text(pdf), QStringLiteral("Überschrift Grüße – première partie. Zweite Seite."));
    }

    // A PalmDOC header that declares a text length of 0xFFFFFFFF and 65,535 text records (and, in
    // the second book, a first non-book record beyond the file) bounds nothing: the text ends with
    // its last record, whose "p></body>" closes the tag the record before left open, and nothing
    // follows the last chapter (no stray "</", no end-of-book marker read as text).
    void textBoundsBeyondTheFile()
    {
        MobiWriter::Book book;
        book.text = "<html><body><p>" + QByteArray("word ").repeated(1600);
        book.text += QByteArray(8190 - book.text.size(), ' ') + "</p><p>Last chapter ends here.</p></body></html>";
        QCOMPARE(book.text.mid(8190, 2), QByteArray("</"));
        const QByteArray sound = MobiWriter::write(book);
        QByteArray declared = sound;
        const int zero = MobiWriter::recordOffset(declared, 0);
        MobiWriter::putBe32(declared, zero + 4, 0xFFFFFFFF);
        MobiWriter::putBe16(declared, zero + 8, 0xFFFF);
        QByteArray nothingBounds = declared;
        MobiWriter::putBe32(nothingBounds, zero + 16 + 64, 0xFFFF);
        for (const QByteArray& bytes : {declared, nothingBounds}) {
            const QString source = unique(QStringLiteral(".mobi"));
            TestFiles::writeFile(source, bytes);
            const QString pdf = unique(QStringLiteral(".pdf"));
            QCOMPARE(quillbook(source, pdf), 0);
            QCOMPARE(text(pdf), QString(QStringLiteral("word ").repeated(1600) + QStringLiteral("Last chapter ends here.")));
        }
    }

    // Damaged and hostile books end with "no pages" (7) and a reason in the log, write nothing but
    // the response beside the request, and leave no work folder.
    void damagedBooks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        MobiWriter::Book book;
        book.text = "<p>Text</p>";
        const QByteArray good = MobiWriter::write(book);
        QTest::newRow("cut in the record table") << good.left(84);
        QTest::newRow("cut in record 0") << good.left(MobiWriter::recordOffset(good, 0) + 40);
        QByteArray offsets = good;
        MobiWriter::putBe32(offsets, 78 + 8, 0xFFFFFFF0);
        QTest::newRow("text record outside the file") << offsets;
        // The offset of the only text record points past its start: what is read there is a scrap.
        MobiWriter::Book chapter;
        chapter.text = "<html><body><p>" + QByteArray("A sentence of the only text record. ").repeated(30) + "</p></body></html>";
        QByteArray moved = MobiWriter::write(chapter);
        MobiWriter::putBe32(moved, 78 + 8, quint32(MobiWriter::recordOffset(moved, 2) - 10));
        QTest::newRow("text record's offset past its start") << moved;
        // The only text record decompresses to more than a record holds: "<html>" and then copies
        // of "html>" that would print as the book's text.
        const QByteArray runsOver = MobiWriter::palmDocCompress("<html>") + QByteArray("\x80\x2F").repeated(3000) + QByteArray("\x00\x81", 2);
        QTest::newRow("text record past its size, PalmDoc") << MobiWriter::replaceRecord(good, 1, runsOver);
        MobiWriter::Book huff;
        huff.packing = MobiWriter::Packing::HuffCdic;
        huff.text = "<html><body><p>" + QByteArray("Text ").repeated(600) + "</p></body></html>";
        const QByteArray overlong = MobiWriter::HuffCdic({}).encode("<html>" + QByteArray("html>").repeated(1000)) + QByteArray("\x00\x81", 2);
        QTest::newRow("text record past its size, HUFF/CDIC") << MobiWriter::replaceRecord(MobiWriter::write(huff), 1, overlong);
        MobiWriter::Book markup;
        markup.text = "<html><head><title>Title</title></head><body><p> </p>&nbsp;</body></html>";
        QTest::newRow("markup alone") << MobiWriter::write(markup);
        book.encryption = 2;
        QTest::newRow("encrypted") << MobiWriter::write(book);
        QTest::newRow("decompression bomb") << MobiWriter::decompressionBomb(600, "<p>bomb</p>");
    }

    void damagedBooks()
    {
        QFETCH(QByteArray, bytes);
        const QString source = unique(QStringLiteral(".mobi"));
        TestFiles::writeFile(source, bytes);
        const QStringList before = TestFiles::entries(m_folder);
        const QString pdf = unique(QStringLiteral(".pdf"));
        QByteArray log;
        QCOMPARE(quillbook(source, pdf, &log), 7);
        QCOMPARE(TestFiles::entries(m_folder).size(), before.size() + 2); // the request and its response
        QVERIFY(!QFile::exists(pdf));
        // The log says why.
        QVERIFY2(QRegularExpression(QStringLiteral("ERROR: The book gave no page: (damaged|encrypted|larger than|no text or "
                                                   "picture)"))
                     .match(QString::fromUtf8(log))
                     .hasMatch(),
                 log.constData());
    }
};

QTEST_GUILESS_MAIN(MobiBooksTest)
#include "test_mobibooks.moc"
