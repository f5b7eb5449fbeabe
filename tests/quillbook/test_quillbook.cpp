// The quillbook program run as a process: request files and exit codes, books converted to PDF
// (checked with pdfinfo and pdftotext), and hostile books.

#include "BookFiles.h"
#include "LocalHttpServer.h"
#include "PdfLibraryFixtures.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using PdfLibraryFixtures::pdfinfo;
using PdfLibraryFixtures::pdftotext;

class TestQuillbook : public QObject
{
    Q_OBJECT

private:
    QString m_folder;
    QString m_epub;
    int m_count = 0;

    QString path(const QString& name) const { return m_folder + '/' + name; }

    QString unique(const QString& suffix) { return path(QStringLiteral("f%1%2").arg(++m_count).arg(suffix)); }

    static QByteArray json(const QVariantMap& request) { return QJsonDocument::fromVariant(request).toJson(); }

    // Runs quillbook with a request file holding requestBytes (none when null) and returns its exit
    // code; the event loop keeps running meanwhile, for the test's HTTP server.
    int run(const QByteArray& requestBytes, const QString& source, const QString& target,
            const QString& requestPath = QString())
    {
        const QString request = requestPath.isEmpty() ? unique(QStringLiteral(".req")) : requestPath;
        if (!requestBytes.isNull())
            TestFiles::writeFile(request, requestBytes);
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quillbook"),
                      {"--o", request, "--s", source, "--t", target});
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < 120000)
            QTest::qWait(20);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    static QString text(const QString& pdf) { return pdftotext(pdf).simplified(); }

    // The left edge of the first word on the first page, in points.
    static double firstWordLeft(const QString& pdf)
    {
        QByteArray out;
        TestFiles::run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}, &out);
        const QRegularExpressionMatch match = QRegularExpression("<word xMin=\"([0-9.]+)\"").match(out);
        return match.hasMatch() ? match.captured(1).toDouble() : -1;
    }

    static void verifyNothingEscaped()
    {
        QDirIterator all(TestFiles::sandbox(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (all.hasNext())
            QVERIFY2(!all.next().contains("escaped"), qPrintable(all.filePath()));
    }

private slots:
    void initTestCase()
    {
        m_folder = TestFiles::sandbox() + QStringLiteral("/books");
        QDir().mkpath(m_folder);
        m_epub = path("book.epub");
        QVERIFY(BookFiles::writeZip(m_epub, BookFiles::epub({{"one.xhtml", "<h1>First chapter</h1><p>Opening words.</p>"},
                                                             {"two.xhtml", "<h1>Second chapter</h1><p>Closing words.</p>"}})));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("sourceExists");
        QTest::addColumn<int>("code");
        const QVariantMap valid{{"file_id", "id"}, {"format", "epub"}};
        auto with = [&](const QString& key, const QVariant& value) {
            QVariantMap request = valid;
            request.insert(key, value);
            return json(request);
        };
        QTest::newRow("no request file") << QByteArray() << true << 2;
        QTest::newRow("empty request") << QByteArray("") << true << 2;
        QTest::newRow("array") << QByteArray("[{\"file_id\":\"id\"}]") << true << 2;
        QTest::newRow("no file_id") << json({{"format", "epub"}}) << true << 5;
        QTest::newRow("numeric file_id") << with("file_id", 7) << true << 5;
        QTest::newRow("format pdf") << with("format", "pdf") << true << 5;
        QTest::newRow("page size FitImage") << with("page_size", "FitImage") << true << 5;
        QTest::newRow("empty orientation") << with("page_orientation", "") << true << 5;
        QTest::newRow("permission as text") << with("permission_print", "true") << true << 5;
        QTest::newRow("B5, EPUB in capitals") << json({{"file_id", "id"}, {"format", "EPUB"}, {"page_size", "B5"}})
                                              << true << 0;
        QTest::newRow("missing source") << json(valid) << false << 6;
        QTest::newRow("fb2 that is no book") << with("format", "fb2") << true << 7;
    }
    // A response lands beside the request (name up to the first dot + ".resp") for codes 0, 6, 7
    // and 8, with "outputs" only on success; codes 2 and 5 write none.
    void exitCodes()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, sourceExists);
        QFETCH(int, code);
        const QString folder = unique(QString());
        QDir().mkpath(folder);
        const QString target = folder + "/out.pdf";
        QCOMPARE(run(request, sourceExists ? m_epub : folder + "/missing.epub", target, folder + "/job.v1.req"), code);
        const QJsonObject response = QJsonDocument::fromJson(TestFiles::readFile(folder + "/job.resp")).object();
        QCOMPARE(QFile::exists(folder + "/job.resp"), code != 2 && code != 5);
        if (QFile::exists(folder + "/job.resp"))
            QCOMPARE(response.value("error_code").toInt(-1), code);
        QCOMPARE(response.contains("outputs"), code == 0);
        QCOMPARE(QFile::exists(target), code == 0);
        if (code == 0)
            QCOMPARE(response.value("outputs").toArray().at(0).toObject().value("file").toString(), target);
    }

    // A target that cannot be written gives 8 (the response says so, without outputs); a
    // response that cannot be written turns 6, 7 or 8 into 10.
    void failedWritesAreReported()
    {
        const QByteArray request = json({{"file_id", "id"}, {"format", "epub"}});
        const QString folder = unique(QString());
        QDir().mkpath(folder + "/job.resp");
        QCOMPARE(run(request, m_epub, folder + "/no/such/folder/out.pdf", path("w.req")), 8);
        const QJsonObject response = QJsonDocument::fromJson(TestFiles::readFile(path("w.resp"))).object();
        QCOMPARE(response, QJsonObject({{"error_code", 8}}));
        QCOMPARE(run(request, folder + "/missing.epub", folder + "/out.pdf", folder + "/job.req"), 10);
        QCOMPARE(run(request, m_epub, folder + "/no/such/folder/out.pdf", folder + "/job.req"), 10);
    }

    // Page size, orientation, margin (a number is used, text gives 10 mm), document information
    // and reading order.
    void convertsEpub_data()
    {
        QTest::addColumn<QVariant>("margin");
        QTest::addColumn<double>("minLeft");
        QTest::addColumn<double>("maxLeft");
        QTest::newRow("margin 20") << QVariant(20) << 56.0 << 75.0;
        QTest::newRow("margin \"20\"") << QVariant("20") << 28.0 << 47.0;
    }
    void convertsEpub()
    {
        QFETCH(QVariant, margin);
        QFETCH(double, minLeft);
        QFETCH(double, maxLeft);
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}, {"page_size", "a5"}, {"page_orientation", "LANDSCAPE"}, {"margin", margin}, {"property_title", "The Title"}, {"property_author", "An Author"}, {"property_creator", "Maker"}, {"property_producer", "ignored"}}),
                     m_epub, target),
                 0);
        const QMap<QString, QString> info = pdfinfo(target);
        QCOMPARE(info.value("Page size"), QString("595 x 420 pts (A5)"));
        QCOMPARE(info.value("Pages"), QString("2"));
        QCOMPARE(info.value("Title"), QString("The Title"));
        QCOMPARE(info.value("Author"), QString("An Author"));
        QCOMPARE(info.value("Creator"), QString("Maker"));
        QCOMPARE(info.value("Producer"), QString("Kestrova"));
        QVERIFY(text(target).contains("First chapter Opening words. Second chapter Closing words."));
        const double left = firstWordLeft(target);
        QVERIFY2(left >= minLeft && left <= maxLeft, qPrintable(QString::number(left)));
    }

    // A book made by Calibre: its three split files print in spine order, with its picture.
    void convertsCalibreEpub()
    {
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}, {"page_size", "Letter"}}),
                     QStringLiteral(QP_BOOK_DATA "/voyage.epub"), target),
                 0);
        QCOMPARE(pdfinfo(target).value("Page size"), QString("612 x 792 pts (letter)"));
        QVERIFY(QRegularExpression("Chapter 1: The Harbour.*Chapter 2: The Crossing.*Wind Force six.*"
                                   "Chapter 3: The Island")
                    .match(text(target))
                    .hasMatch());
        QByteArray images;
        TestFiles::run("pdfimages", {"-list", target}, &images);
        QVERIFY(images.contains("image"));
    }

    void convertsFb2()
    {
        const QString source = path("book.fb2");
        TestFiles::writeFile(source, BookFiles::fb2("<body><title><p>Book title</p></title><section><title><p>Part one"
                                                    "</p></title><p>Fish &amp; chips.</p></section><section><p>Part two."
                                                    "</p></section></body>"));
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "fb2"}}), source, target), 0);
        QCOMPARE(pdfinfo(target).value("Page size"), QString("595 x 842 pts (A4)"));
        QVERIFY(text(target).contains("Book title Part one Fish & chips. Part two."));
    }

    // The password opens the file and the permissions bind whoever opens it with that password.
    void passwordAndPermissions()
    {
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}, {"property_password", "secret"}, {"permission_print", false}}),
                     m_epub, target),
                 0);
        QVERIFY(pdfinfo(target).isEmpty());
        QVERIFY(text(target).isEmpty());
        const QString encryption = PdfLibraryFixtures::qpdfEncryption(target, "secret");
        QVERIFY2(encryption.contains("Supplied password is user password"), qPrintable(encryption));
        QVERIFY(encryption.contains("print high resolution: not allowed"));
        QVERIFY(encryption.contains("modify document assembly: not allowed"));
        QVERIFY(encryption.contains("modify annotations: allowed"));
    }

    // Entries that climb out or are absolute, a page script that reads a local file, style sheets
    // outside the work folder and remote resources: the book prints, nothing is written outside,
    // no outside file or address is read.
    void hostileEpub()
    {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer(LocalHttpServer::Ok, "body::after { content: 'REMOTE-MARKER'; }");
        TestFiles::writeFile(path("outside.css"), "body::before { content: 'OUTSIDE-MARKER'; }");
        TestFiles::writeFile(path("secret.txt"), "SECRET-MARKER");
        const QString page =
            QStringLiteral(
                "<link rel=\"stylesheet\" href=\"%1\"/><link rel=\"stylesheet\" href=\"../../../../books/outside.css\"/>"
                "<link rel=\"stylesheet\" href=\"%2\"/><p>Visible text</p><img src=\"%3\"/><iframe src=\"%4\"></iframe>"
                "<script>var r = new XMLHttpRequest(); r.open('GET', '%5', false); r.send();"
                "document.body.appendChild(document.createTextNode('SCRIPT-MARKER' + r.responseText));</script>")
                .arg(QUrl::fromLocalFile(path("outside.css")).toString(), server.url("/style.css"),
                     server.url("/image.png"), server.url("/frame.html"), QUrl::fromLocalFile(path("secret.txt")).toString());
        QList<BookFiles::ZipEntry> entries = BookFiles::epub({{"page.xhtml", page}});
        entries << BookFiles::ZipEntry{"../../../escaped-up.txt", "x"}
                << BookFiles::ZipEntry{m_folder + "/escaped-absolute.txt", "x"};
        const QString source = path("hostile.epub");
        QVERIFY(BookFiles::writeZip(source, entries));
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}}), source, target), 0);
        const QString printed = text(target);
        QVERIFY2(printed.contains("Visible text"), qPrintable(printed));
        QVERIFY2(!printed.contains("MARKER"), qPrintable(printed));
        QCOMPARE(server.targets(), QStringList());
        verifyNothingEscaped();
    }

    // Books built to exhaust the disk or the stack end quickly without pages.
    void exhaustingBooks()
    {
        QElapsedTimer clock;
        clock.start();
        const QString bomb = path("bomb.epub");
        QList<BookFiles::ZipEntry> entries = BookFiles::epub({{"a.xhtml", "<p>a</p>"}});
        entries.insert(1, BookFiles::ZipEntry{"OEBPS/zeros.bin", QByteArray(), (qint64(1) << 30) + 1});
        QVERIFY(BookFiles::writeZip(bomb, entries));
        QVERIFY(QFileInfo(bomb).size() < 4 << 20);
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}}), bomb, unique(".pdf")), 7);

        const QString deep = path("deep.fb2");
        TestFiles::writeFile(deep, BookFiles::fb2("<body>" + QString("<section>").repeated(300000) + "<p>x</p>" + QString("</section>").repeated(300000) + "</body>"));
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "fb2"}}), deep, unique(".pdf")), 7);
        QVERIFY(clock.elapsed() < 60000);
    }

    // Every run removes its work folder.
    void cleanupTestCase()
    {
        QDirIterator work(QDir::tempPath() + "/.Zembrook Ebook Converter/cache", QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY2(!work.hasNext(), qPrintable(work.hasNext() ? work.next() : QString()));
    }
};

QTEST_GUILESS_MAIN(TestQuillbook)
#include "test_quillbook.moc"
