// The quillbook program run as a process: request files and exit codes, books converted to PDF
// (checked with pdfinfo and pdftotext), and hostile books.

#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>
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
    QByteArray m_output; // what the last run wrote (its log lines)

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
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quillbook"),
                      {"--o", request, "--s", source, "--t", target});
        QElapsedTimer clock;
        clock.start();
        m_output.clear();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < 120000) {
            QTest::qWait(20);
            m_output += process.readAll();
        }
        m_output += process.readAll();
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

    // Words and pictures of each page: "[12w 0i] [0w 1i]".
    static QString pageSummary(const QString& pdf)
    {
        QString summary;
        const int pages = pdfinfo(pdf).value("Pages").toInt();
        for (int page = 1; page <= pages; ++page) {
            const QString n = QString::number(page);
            QByteArray images;
            TestFiles::run("pdfimages", {"-f", n, "-l", n, "-list", pdf}, &images);
            QByteArray text;
            TestFiles::run("pdftotext", {"-f", n, "-l", n, pdf, "-"}, &text);
            summary += QStringLiteral("[%1w %2i] ")
                           .arg(QString::fromUtf8(text).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).size())
                           .arg(images.count('\n') - 2);
        }
        return summary.trimmed();
    }

    static QString pdffonts(const QString& pdf)
    {
        QByteArray out;
        TestFiles::run("pdffonts", {pdf}, &out);
        return QString::fromUtf8(out);
    }

    // A font file of the system with its names changed (same length, in the ASCII and UTF-16 name
    // records), so that no system font can stand in for it.
    static QByteArray renamedFont(const QString& path, const QByteArray& from, const QByteArray& to)
    {
        auto utf16 = [](const QByteArray& text) {
            QByteArray out;
            for (char c : text)
                out.append('\0').append(c);
            return out;
        };
        return TestFiles::readFile(path).replace(from, to).replace(utf16(from), utf16(to));
    }

    // Peak resident memory of one quillbook run. GNU time starts it from its own small process:
    // a child forked from this test would count the test's memory, which grows over the run.
    static long peakMemoryKb(const QStringList& arguments, int exitCode = 0)
    {
        QTemporaryFile report;
        if (!report.open())
            return -1;
        QProcess process;
        process.start("/usr/bin/time", QStringList{"-f", "%M", "-o", report.fileName(),
                                                   QCoreApplication::applicationDirPath() + "/quillbook"}
                                           + arguments);
        if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != exitCode)
            return -1;
        bool ok = false;
        // GNU time writes a line about a non-zero exit status first.
        const long peakKb = QString::fromLatin1(report.readAll()).trimmed().split('\n').last().toLong(&ok);
        return ok ? peakKb : -1;
    }

    // An FB2 book whose cover is a PNG of width x height noisy pixels as Qt writes it without
    // compression; the base64 text is written in pieces, as a book writer streams it. A malformed
    // book never closes its body.
    static qint64 writeBookWithPicture(const QString& path, int width, int height, bool malformed = false)
    {
        QByteArray picture;
        {
            QImage image(width, height, QImage::Format_RGB888);
            for (int y = 0; y < height; ++y)
                QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), image.bytesPerLine() / 4);
            QBuffer buffer(&picture);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "png");
            writer.setQuality(100);
            writer.write(image);
        }
        QByteArray book = BookFiles::fb2("<body><section><p>Words of a big book.</p></section>"
                                         + QString(malformed ? "" : "</body>"));
        book.replace("</title-info>", "<coverpage><image l:href=\"#cover.png\"/></coverpage></title-info>");
        const int end = book.lastIndexOf("</FictionBook>");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(book.left(end) + "<binary id=\"cover.png\" content-type=\"image/png\">\n");
        for (int at = 0; at < picture.size(); at += 57 * 1024)
            file.write(picture.mid(at, 57 * 1024).toBase64(QByteArray::Base64Encoding) + '\n');
        file.write("</binary>" + book.mid(end));
        return file.size();
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
        // Code 7 says why in the log.
        if (code == 7)
            QVERIFY2(m_output.contains("The book gave no page: not a book of its format"), m_output.constData());
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

        // The merging's diagnostics reach the log file, as the routine steps they are.
        QString log;
        const QDir logs(QDir::homePath() + "/.Zembrook Ebook Converter/log");
        for (const QString& name : logs.entryList({"log_*.txt"}, QDir::Files))
            log += QString::fromUtf8(TestFiles::readFile(logs.filePath(name)));
        QVERIFY2(log.contains("DEBUG: Add file to merge list:") && log.contains("DEBUG: Merge result:"), qPrintable(log));
        QVERIFY2(!log.contains("ERROR: Add file to merge list") && !log.contains("ERROR: Merge result"), qPrintable(log));
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

    // A book built to exhaust the disk ends quickly without pages; one built to exhaust the stack
    // (sections nested 300,000 deep) prints its text, flattened below 256 levels, quickly.
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
        TestFiles::writeFile(deep, BookFiles::fb2("<body>" + QString("<section>").repeated(300000) + "<p>Deepest words.</p>"
                                                  + QString("</section>").repeated(300000) + "</body>"));
        const QString pdf = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "fb2"}}), deep, pdf), 0);
        QCOMPARE(text(pdf), QStringLiteral("Deepest words."));
        QVERIFY(m_output.contains("WARNING: Elements nested deeper than 256 levels left out, their text kept: 299747"));
        QVERIFY(clock.elapsed() < 60000);
    }

    // Hostile books print what can be read safely and log what was left out: an FB2 book whose
    // entities expand a billion times (and that uses HTML's no-break space without declaring it), an EPUB book
    // whose archive holds symbolic links (to a file and a folder outside, and one in place of the
    // folder of a chapter) beside its chapters. Before, both were refused whole (exit 7).
    void hostileBooksPrintWhatIsSafe()
    {
        QString laughs = QStringLiteral("<!DOCTYPE FictionBook [<!ENTITY l0 \"lol\">");
        for (int i = 1; i < 10; ++i)
            laughs += QStringLiteral("<!ENTITY l%1 \"%2\">").arg(i).arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
        QByteArray fb2 = BookFiles::fb2("<body><section><p>Before the laughs &l9; after&nbsp;them.</p></section></body>");
        fb2.insert(fb2.indexOf("<FictionBook"), (laughs + "]>").toUtf8());
        TestFiles::writeFile(path("laughs.fb2"), fb2);
        QString pdf = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "fb2"}}), path("laughs.fb2"), pdf), 0);
        QCOMPARE(text(pdf), QStringLiteral("Before the laughs after them."));
        QVERIFY(m_output.contains("WARNING: Entity declarations left out: their entities expand past the parser's bound"));
        QVERIFY2(m_output.contains("WARNING: References to undeclared entities left out: 1"), qPrintable(m_output));

        QList<BookFiles::ZipEntry> entries =
            BookFiles::epub({{"one.xhtml", "<p>First chapter.</p>"}, {"Text/two.xhtml", "<p>Second chapter.</p>"}});
        for (const auto& link : {qMakePair(QString("OEBPS/passwd.xhtml"), QByteArray("/etc/passwd")),
                                 qMakePair(QString("OEBPS/etc"), QByteArray("/etc")),
                                 qMakePair(QString("OEBPS/Text"), QByteArray("/tmp"))}) {
            BookFiles::ZipEntry entry{link.first, link.second};
            entry.symbolicLink = true;
            entries.insert(3, entry);
        }
        pdf = convertEpub("links.epub", entries);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(text(pdf), QStringLiteral("First chapter. Second chapter."));
        QCOMPARE(m_output.count("WARNING: Symbolic link entry left out:"), 3);
        verifyNothingEscaped();
    }

    // A book whose style sheet and second page bring fonts (renamed copies of fonts of this machine):
    // a regular and a bold OpenType serif and a TrueType sans. Without fonts, no rule applies.
    static QList<BookFiles::ZipEntry> fontBook(bool withFonts)
    {
        const QString serif = QStringLiteral("/usr/share/fonts/opentype/freefont/FreeSerif%1.otf");
        const QString fontFace = withFonts ? QStringLiteral("@font-face") : QStringLiteral("@not-a-font-face");
        const QString css = "@font-face { font-family: 'Body Face'; src: url(\"fonts/serif.otf\") format('opentype'); }\n"
                            "@font-face { font-family: 'Body Face'; font-weight: bold; src: url(fonts/serif-bold.otf); }\n"
                            "body { font-family: 'Body Face', sans-serif; }\n";
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"one.xhtml", "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\"/><p>Serif words and "
                           "<b>bold words</b>.</p>"},
             {"two.xhtml", "<style type=\"text/css\">" + fontFace + " { font-family: Side; src: url(fonts/sans.ttf); }"
                                                                    "</style><p style=\"font-family: Side\">Sans words here.</p>"}});
        entries << BookFiles::ZipEntry{"OEBPS/style.css", QString(css).replace("@font-face", fontFace).toUtf8()}
                << BookFiles::ZipEntry{"OEBPS/fonts/serif.otf", renamedFont(serif.arg(""), "FreeSerif", "QuillSerf")}
                << BookFiles::ZipEntry{"OEBPS/fonts/serif-bold.otf", renamedFont(serif.arg("Bold"), "FreeSerif", "QuillSerf")}
                << BookFiles::ZipEntry{"OEBPS/fonts/sans.ttf",
                                       renamedFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu", "QuillB")};
        return entries;
    }

    // The PDF of the book with these entries, empty when quillbook fails.
    QString convertEpub(const QString& name, const QList<BookFiles::ZipEntry>& entries)
    {
        const QString source = path(name);
        BookFiles::writeZip(source, entries);
        const QString target = unique(".pdf");
        return run(json({{"file_id", "id"}, {"format", "epub"}}), source, target) == 0 ? target : QString();
    }

    // The PDF's text is the font book's, in the book's fonts, embedded (as subsets, with text).
    static void verifyBookFonts(const QString& pdf)
    {
        QCOMPARE(text(pdf), QStringLiteral("Serif words and bold words. Sans words here."));
        const QString fonts = pdffonts(pdf);
        QVERIFY2(fonts.contains("QuillSerf") && fonts.contains("QuillBSans") && !fonts.contains("Type 3"), qPrintable(fonts));
        for (const QString& line : fonts.split('\n').mid(2, -1)) {
            if (!line.isEmpty())
                QVERIFY2(QRegularExpression("\\byes\\s+(yes|no)\\s+yes\\b").match(line).hasMatch(), qPrintable(line));
        }
    }

    // The fonts of @font-face rules (OpenType and TrueType, in a style sheet and in a page) are
    // embedded as fonts: the PDF has the book's text in the book's fonts and is about as large as
    // the same book printed in the default fonts.
    void bookFontsAreEmbedded()
    {
        const QString withFonts = convertEpub("fonts.epub", fontBook(true));
        const QString without = convertEpub("nofonts.epub", fontBook(false));
        QVERIFY(!withFonts.isEmpty() && !without.isEmpty());
        verifyBookFonts(withFonts);
        const double ratio = double(QFileInfo(withFonts).size()) / QFileInfo(without).size();
        qInfo("PDF with the book's fonts %.2f times the size of the PDF without them", ratio);
        QVERIFY2(ratio < 1.5, qPrintable(QString::number(ratio)));
    }

    // Fonts obfuscated as published books obfuscate them (by either algorithm, with a key from the
    // package's unique identifier) are embedded as the book's fonts. A font encrypted by another
    // method is left to the system's fonts and logged; its text still prints. A font listed twice
    // is restored once; a chapter listed as obfuscated is left as it is and logged.
    void obfuscatedFontsAreEmbedded()
    {
        const QByteArray uuid = "urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e";
        const QString idpf = "http://www.idpf.org/2008/embedding", adobe = "http://ns.adobe.com/pdf/enc#RC";
        const QString aes = "http://www.w3.org/2001/04/xmlenc#aes256-cbc";
        const QMap<QString, QPair<QByteArray, int>> masks = {
            {"OEBPS/fonts/serif.otf", {QCryptographicHash::hash(uuid, QCryptographicHash::Sha1), 1040}},
            {"OEBPS/fonts/sans.ttf", {QByteArray::fromHex(uuid.mid(9).replace("-", "")), 1024}},
            {"OEBPS/fonts/serif-bold.otf", {"not the key", 1 << 30}},
        };
        QList<BookFiles::ZipEntry> entries = fontBook(true);
        for (BookFiles::ZipEntry& entry : entries) {
            const QPair<QByteArray, int> mask = masks.value(entry.name);
            for (int i = 0; i < qMin(mask.second, entry.data.size()); ++i)
                entry.data[i] = char(entry.data.at(i) ^ mask.first.at(i % mask.first.size()));
            if (entry.name == "OEBPS/content.opf")
                entry.data.replace("version=\"2.0\"", "version=\"2.0\" unique-identifier=\"uid\"")
                    .replace("<dc:title>", "<dc:identifier id=\"isbn\">9780000000002</dc:identifier>"
                                           "<dc:identifier id=\"uid\">\n  "
                                               + uuid + " \n</dc:identifier><dc:title>");
        }
        auto listed = [](const QString& algorithm, const QString& uri) {
            return QStringLiteral("<enc:EncryptedData><enc:EncryptionMethod Algorithm=\"%1\"/><enc:CipherData>"
                                  "<enc:CipherReference URI=\"%2\"/></enc:CipherData></enc:EncryptedData>")
                .arg(algorithm, uri);
        };
        // A chapter listed under a font obfuscation is no font: it prints as it is.
        const QString list = listed(idpf, "OEBPS/fonts/serif.otf") + listed(idpf, "OEBPS/fonts/serif.otf")
                             + listed(adobe, "OEBPS/fonts/sans.ttf") + listed(aes, "OEBPS/fonts/serif-bold.otf")
                             + listed(idpf, "OEBPS/one.xhtml");
        entries << BookFiles::ZipEntry{"META-INF/encryption.xml",
                                       ("<?xml version=\"1.0\"?><encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:"
                                        "container\" xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\">"
                                        + list + "</encryption>")
                                           .toUtf8()};
        const QString pdf = convertEpub("obfuscated.epub", entries);
        QVERIFY(!pdf.isEmpty());
        verifyBookFonts(pdf);
        QVERIFY2(m_output.contains("Encrypted file left as it is:OEBPS/fonts/serif-bold.otf"), m_output.constData());
        QVERIFY2(m_output.contains("Obfuscated file that is no font left as it is:OEBPS/one.xhtml (application/xhtml+xml)"),
                 m_output.constData());
    }

    // A TrueType font as a WOFF file whose tables are stored as they are.
    static QByteArray woff(const QByteArray& font)
    {
        auto be = [](quint32 value, int bytes) {
            QByteArray out;
            for (int i = bytes - 1; i >= 0; --i)
                out.append(char((value >> (8 * i)) & 0xFF));
            return out;
        };
        auto at = [&font](int pos, int bytes) {
            quint32 value = 0;
            for (int i = 0; i < bytes; ++i)
                value = (value << 8) | uchar(font.at(pos + i));
            return value;
        };
        const int count = int(at(4, 2));
        QByteArray directory, tables;
        const int start = 44 + 20 * count;
        for (int i = 0; i < count; ++i) {
            const int record = 12 + 16 * i;
            const QByteArray table = font.mid(int(at(record + 8, 4)), int(at(record + 12, 4)));
            directory += be(at(record, 4), 4) + be(quint32(start + tables.size()), 4) + be(quint32(table.size()), 4)
                         + be(quint32(table.size()), 4) + be(at(record + 4, 4), 4);
            tables += table + QByteArray((4 - table.size() % 4) % 4, '\0');
        }
        return "wOFF" + be(at(0, 4), 4) + be(quint32(start + tables.size()), 4) + be(quint32(count), 2) + be(0, 2)
               + be(quint32(font.size()), 4) + be(1, 2) + be(0, 2) + QByteArray(4 * 5, '\0') + directory + tables;
    }

    // A book's own font wins over an installed font of the same family: the book's DejaVu Sans Mono
    // Bold Oblique (as TrueType and as WOFF) prints as itself, not as the system's upright DejaVu
    // Sans Mono.
    void bookFontsWinOverInstalledOnes_data()
    {
        QTest::addColumn<bool>("asWoff");
        QTest::newRow("TrueType") << false;
        QTest::newRow("WOFF") << true;
    }
    void bookFontsWinOverInstalledOnes()
    {
        QFETCH(bool, asWoff);
        const QString file = asWoff ? "fonts/mono.woff" : "fonts/mono.ttf";
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"mono.xhtml", "<style type=\"text/css\">@font-face { font-family: 'Book Mono'; src: url(" + file + "); }"
                                                                                                                 "</style><p style=\"font-family: 'Book Mono'\">Bold oblique words.</p>"}});
        const QByteArray font = TestFiles::readFile("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf");
        QVERIFY(!font.isEmpty());
        entries << BookFiles::ZipEntry{"OEBPS/" + file, asWoff ? woff(font) : font};
        const QString pdf = convertEpub(asWoff ? "mono-woff.epub" : "mono.epub", entries);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(text(pdf), QStringLiteral("Bold oblique words."));
        const QString fonts = pdffonts(pdf);
        QVERIFY2(fonts.contains("DejaVuSansMono-BoldOblique") && !fonts.contains("DejaVuSansMono "), qPrintable(fonts));
    }

    // Spine items that cannot print are left out and logged, the rest prints (no exit 8): items
    // named by a web address, a file URL or an absolute path, an item missing from the archive,
    // one whose entry name is not valid UTF-8. Frames that fail to load stay empty: no error page,
    // no local path. HTML items print whatever the case of their media type.
    void itemsThatCannotPrintAreLeftOut()
    {
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"a.xhtml", "<p>First page</p>"},
             {"frame.xhtml", "<p>Framed</p><iframe src=\"file:///etc/hostname\"></iframe><iframe src=\"nothere.xhtml\" "
                             "width=\"600\"></iframe>"}});
        QByteArray& package = entries[2].data;
        const QList<QPair<QByteArray, QByteArray>> items = {{"web", "http://example.com/w.xhtml"},
                                                            {"file", "file:///etc/hostname"},
                                                            {"abs", "/etc/hostname"},
                                                            {"missing", "missing.xhtml"},
                                                            {"latin", "caf%E9.xhtml"},
                                                            {"html", "h.html\" media-type=\"Text/HTML"}};
        QByteArray manifest, spine;
        for (const auto& item : items) {
            manifest += "<item id=\"" + item.first + "\" href=\"" + item.second + "\""
                        + (item.second.contains("media-type") ? "" : " media-type=\"application/xhtml+xml\"") + "/>";
            spine += "<itemref idref=\"" + item.first + "\"/>";
        }
        package.replace("</manifest>", manifest + "</manifest>").replace("</spine>", spine + "</spine>");
        entries << BookFiles::ZipEntry{"OEBPS/cafX.xhtml", "<html><body><p>Latin name</p></body></html>"}
                << BookFiles::ZipEntry{"OEBPS/h.html", "<html><body><p>Plain html</p></body></html>"};
        const QString source = path("items.epub");
        QVERIFY(BookFiles::writeZip(source, entries));
        // The entry name as a Latin-1 writer stores it: not valid UTF-8.
        QByteArray archive = TestFiles::readFile(source);
        archive.replace("OEBPS/cafX.xhtml", "OEBPS/caf\xE9.xhtml");
        TestFiles::writeFile(source, archive);

        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}}), source, target), 0);
        const QString printed = text(target);
        QCOMPARE(printed, QStringLiteral("First page Framed Plain html"));
        QCOMPARE(pdfinfo(target).value("Pages"), QString("3"));
        for (const char* logged : {"Item outside the book skipped:http://example.com/w.xhtml", "skipped:file:///etc/hostname",
                                   "skipped:/etc/hostname", "Page missing from the book skipped:missing.xhtml",
                                   "Frame not printed:"})
            QVERIFY2(m_output.contains(logged), logged);
    }

    // Chapters that are not well-formed XHTML (an unclosed tag, 100,000 nested elements, an
    // entity loop) print their text, read as HTML, quickly; the web view's error text never
    // reaches the PDF.
    void malformedChaptersPrintTheirText()
    {
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"unclosed.xhtml", "<p>Unclosed chapter text.<p>More words<br></p>"},
             {"deep.xhtml", "<p>Deep chapter text.</p>" + QString("<div>").repeated(100000) + "deep words"
                                + QString("</div>").repeated(100000)},
             {"loop.xhtml", "<p>Loop chapter text &a; end.</p>"},
             {"sound.xhtml", "<p>Sound chapter text.</p>"}});
        for (BookFiles::ZipEntry& entry : entries) {
            if (entry.name == "OEBPS/loop.xhtml")
                entry.data.replace("<html", "<!DOCTYPE html [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]><html");
        }
        QElapsedTimer clock;
        clock.start();
        const QString pdf = convertEpub("malformed.epub", entries);
        QVERIFY(!pdf.isEmpty());
        qInfo("malformed chapters printed in %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 30000);
        QCOMPARE(text(pdf), QStringLiteral("Unclosed chapter text. More words Deep chapter text. deep words Loop chapter "
                                           "text &a; end. Sound chapter text."));
        QCOMPARE(pdfinfo(pdf).value("Pages"), QString("4"));
        QCOMPARE(m_output.count("Page is not well-formed XHTML, read as HTML:"), 3);
    }

    // Chapters nested thousands deep (12,500 inline tags left open, read as HTML) or hundreds deep
    // (200 closed ones, well-formed XHTML) print every word in order, flat below 32 levels, in
    // seconds; before, each took about 25 seconds. A list nested as books nest keeps its markup.
    void deeplyNestedChaptersPrintFlat()
    {
        QString open, closed, closing, list;
        QStringList words;
        for (int i = 0; i < 12500; ++i)
            open += QStringLiteral("<span>o%1 ").arg(i);
        for (int i = 0; i < 200; ++i) {
            closed += QStringLiteral("<span>c%1 ").arg(i);
            closing += QStringLiteral("</span>");
        }
        closed += QStringLiteral("deepest %1").arg(QStringLiteral("word ").repeated(8000)) + closing;
        for (int i = 0; i < 8; ++i)
            list += QStringLiteral("<ul><li>item%1").arg(i);
        list += QStringLiteral("</li></ul>").repeated(8);
        QElapsedTimer clock;
        clock.start();
        const QString pdf = convertEpub("deep.epub", BookFiles::epub({{"open.xhtml", "<p>Open chapter.</p>" + open},
                                                                      {"closed.xhtml", "<p>Closed chapter.</p>" + closed},
                                                                      {"list.xhtml", list}}));
        QVERIFY(!pdf.isEmpty());
        qInfo("deeply nested chapters printed in %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 60000);
        const QStringList printed = text(pdf).split(' ');
        QCOMPARE(printed.mid(0, 4), QStringList({"Open", "chapter.", "o0", "o1"}));
        QCOMPARE(printed.filter(QRegularExpression("^o\\d+$")).size(), 12500);
        QCOMPARE(printed.indexOf("o12499") + 1, printed.indexOf("Closed"));
        QCOMPARE(printed.filter(QRegularExpression("^c\\d+$")).size(), 200);
        QCOMPARE(printed.count("word"), 8000);
        QVERIFY(QRegularExpression("item0 .*item1 .*item7$").match(printed.join(' ')).hasMatch());
        QCOMPARE(m_output.count("Page nests deeper than 32 levels, 1 elements there printed as plain text:"), 2);
    }

    // A page break with nothing shown before or after it in its chapter prints no empty page: a
    // contents page whose heading starts a new page after a picture-only cover, empty elements
    // that break the page at a chapter's start and end. Breaks between text stay.
    void breaksAtTheEdgesPrintNoEmptyPage()
    {
        QList<BookFiles::ZipEntry> entries = BookFiles::epub(
            {{"cover.xhtml", "<div id=\"cover-image\"><img src=\"cover.png\" alt=\"Cover\"/></div>"},
             {"contents.xhtml", "<nav><h2 style=\"page-break-before: always\">The contents</h2><ol><li>One</li></ol></nav>"},
             {"chapter.xhtml", "<div style=\"page-break-after: always\"></div><p>Chapter text.</p><h2 style=\"page-break-"
                               "before: always\">Second part</h2><p>More text.</p><div><p style=\"page-break-after: "
                               "always\"> </p></div>"}});
        entries.append({QStringLiteral("OEBPS/cover.png"), BookFiles::png(600, 900)});
        const QString pdf = convertEpub("breaks.epub", entries);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pageSummary(pdf), QStringLiteral("[0w 1i] [4w 0i] [2w 0i] [4w 0i]"));
    }

    // Books made by Calibre print no page that the book does not have: the EPUB cover fits its
    // page (also on Letter paper), the FB2 cover prints as the picture and no empty page precedes
    // the text, the MOBI book ends with its text.
    void calibreBooksPrintWithoutEmptyPages_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("pageSize");
        QTest::addColumn<QString>("pages");
        QTest::newRow("epub") << "epub"
                              << "Letter"
                              << "[0w 1i] [28w 0i] [18w 0i]";
        QTest::newRow("fb2") << "fb2"
                             << "A4"
                             << "[0w 1i] [46w 0i]";
        QTest::newRow("mobi") << "mobi"
                              << "A4"
                              << "[46w 0i] [11w 0i]";
    }
    void calibreBooksPrintWithoutEmptyPages()
    {
        QFETCH(QString, format);
        QFETCH(QString, pageSize);
        QFETCH(QString, pages);
        const QString target = unique(".pdf");
        QCOMPARE(run(json({{"file_id", "id"}, {"format", format}, {"page_size", pageSize}}),
                     QStringLiteral(QP_BOOK_DATA "/covered.") + format, target),
                 0);
        QCOMPARE(pageSummary(target), pages);
        QVERIFY2(text(target).contains("H2O and the area is 4 m2"), qPrintable(text(target)));
    }

    // The pictures of an FB2 book stream from the file into their own files: a book of 50 or
    // 200 MB, nearly all of it one picture, takes at most its size plus 150 MB of memory; so does
    // a malformed one on its way to failing.
    void bigFb2BooksStayWithinMemory_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("malformed");
        QTest::newRow("50 MB") << 3500 << false;
        QTest::newRow("200 MB") << 7000 << false;
        QTest::newRow("50 MB, body never closed") << 3500 << true;
    }
    void bigFb2BooksStayWithinMemory()
    {
        QFETCH(int, side);
        QFETCH(bool, malformed);
        const QString source = path("big.fb2");
        const qint64 size = writeBookWithPicture(source, side, side, malformed);
        const QString request = unique(".req");
        TestFiles::writeFile(request, json({{"file_id", "id"}, {"format", "fb2"}}));
        const QString target = unique(".pdf");
        const long peakKb = peakMemoryKb({"--o", request, "--s", source, "--t", target}, malformed ? 7 : 0);
        QFile::remove(source);
        QVERIFY(peakKb > 0);
        qInfo("peak memory %ld kB for a book of %lld kB", peakKb, size / 1024);
        QCOMPARE(pageSummary(target), malformed ? QString() : QStringLiteral("[0w 1i] [5w 0i]"));
#ifndef QP_SANITIZED
        const double limitKb = size / 1024.0 + 150 * 1024;
        QVERIFY2(peakKb <= limitKb, qPrintable(QStringLiteral("%1 kB for a book of %2 kB").arg(peakKb).arg(size / 1024)));
#endif
    }

    // A run removes the work folders that runs that were killed or crashed left in the cache
    // folder, but not those of runs still going (claimed by a lock beside them) or of other names.
    void leftoverWorkFoldersGo()
    {
        const QString cache = QDir::tempPath() + "/.Zembrook Ebook Converter/cache";
        const QString leftover = cache + "/0123456789abcdef0123456789abcdef";
        const QString running = cache + "/fedcba9876543210fedcba9876543210";
        const QString other = cache + "/notes";
        for (const QString& folder : {leftover, running, other})
            TestFiles::writeFile(folder + "/OEBPS/page.xhtml", "x");
        {
            QLockFile claim(running + ".lock");
            QVERIFY(claim.tryLock(0));
            QCOMPARE(run(json({{"file_id", "id"}, {"format", "epub"}}), m_epub, unique(".pdf")), 0);
            QVERIFY(!QFileInfo::exists(leftover));
            QVERIFY(QFileInfo::exists(running + "/OEBPS/page.xhtml"));
            QVERIFY(QFileInfo::exists(other + "/OEBPS/page.xhtml"));
        }
        QDir(running).removeRecursively();
        QDir(other).removeRecursively();
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
