// The PDF service and documents on the real PDF library of the program folder. Input PDFs are
// written by Qt at test time (rotation and encryption added with qpdf); what the library writes
// is checked with qpdf and poppler's tools.

#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"

#include "app/core/Logger.h"
#include "tests/support/TestFiles.h"

#include <QtTest>

#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// A PDF with one page per size, each showing "Page N" in large letters over a grey band.
bool writePdf(const QString& path, const QList<QSizeF>& pages, const QString& title = QString())
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setTitle(title);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(pages.first(), QPageSize::Point));
    QPainter painter;
    for (int i = 0; i < pages.size(); ++i) {
        if (i == 0) {
            if (!painter.begin(&writer))
                return false;
        } else {
            writer.setPageSize(QPageSize(pages[i], QPageSize::Point));
            writer.newPage();
        }
        painter.fillRect(QRectF(0, 0, pages[i].width(), pages[i].height() / 3), QColor(90, 90, 90));
        QFont font("DejaVu Sans");
        font.setPixelSize(24);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(20, pages[i].height() / 2), QString("Page %1").arg(i + 1));
    }
    return painter.end();
}

int qpdf(const QStringList& arguments, QByteArray* out = nullptr)
{
    QByteArray err;
    const int code = TestFiles::run("qpdf", arguments, out, &err);
    if (code != 0 && code != 3)
        qWarning() << "qpdf" << arguments << err;
    return code;
}

// qpdf --check passes (exit code 0, or 3 for warnings only).
bool checksOut(const QString& path, const QString& password = QString())
{
    QStringList arguments{"--check"};
    if (!password.isEmpty())
        arguments << "--password=" + password;
    const int code = qpdf(arguments << path);
    return code == 0 || code == 3;
}

// One field of pdfinfo's report, e.g. "Pages" or "Title".
QString pdfInfo(const QString& path, const QString& field, const QString& password = QString(), int page = 0)
{
    QStringList arguments;
    if (!password.isEmpty())
        arguments << "-upw" << password;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    QByteArray out;
    TestFiles::run("pdfinfo", arguments << path, &out);
    const QString key = page > 0 ? QString("Page %1 %2:").arg(page, 4).arg(field) : field + ":";
    for (const QString& line : QString::fromUtf8(out).split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed();
    }
    return QString();
}

QString pdfText(const QString& path)
{
    QByteArray out;
    TestFiles::run("pdftotext", {"-layout", path, "-"}, &out);
    return QString::fromUtf8(out).simplified();
}

bool allBlack(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(row[x]) | qGreen(row[x]) | qBlue(row[x]))
                return false;
        }
    }
    return true;
}

QString logText()
{
    return QString::fromUtf8(TestFiles::readFile(Logger::instance()->filePath()));
}

} // namespace

class TestPdfService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void opensWithAndWithoutPassword();
    void readsPageCountSizesAndTitle();
    void rendersPagesAt72Dpi();
    void rendersPagesToImageFiles_data();
    void rendersPagesToImageFiles();
    void buildsAProtectedPdfFromImages();
    void mergesFiles();
    void mergeWritesNothingWhenTheFirstFileDoesNotOpen();
    void decryptsAndExtractsPageRanges();
    void twoThreadsWorkOnDifferentDocumentsAtOnce();
    void wholeRoadFromAnEncryptedPdfToPageImages();

private:
    QString path(const QString& name) const { return QDir(folder).filePath(name); }

    QString folder;
    QSharedPointer<DebenuService> service;
    QString plain;     // three pages: 612 x 792, 300 x 500 turned by 90 degrees, 612 x 792
    QString encrypted; // the same, user password "user", owner password "owner"
    QString sixPages;  // six 400 x 300 pages
};

void TestPdfService::initTestCase()
{
    QCoreApplication::setOrganizationName("Zembrook");
    QCoreApplication::setApplicationName("Zembrook PDF Converter");
    folder = TestFiles::sandbox() + "/pdfservice";
    QVERIFY(QDir().mkpath(folder));

    service = QSharedPointer<DebenuService>::create();
    QVERIFY2(DebenuDocument(service).id() != 0, "the PDF library of the program folder did not load");

    const QString unturned = path("unturned.pdf");
    QVERIFY(writePdf(unturned, {QSizeF(612, 792), QSizeF(300, 500), QSizeF(612, 792)}, "Quarterly report"));
    plain = path("plain.pdf");
    QCOMPARE(qpdf({unturned, "--rotate=+90:2", plain}), 0);
    encrypted = path("encrypted.pdf");
    QCOMPARE(qpdf({"--encrypt", "user", "owner", "256", "--", plain, encrypted}), 0);
    sixPages = path("six.pdf");
    QVERIFY(writePdf(sixPages, QVector<QSizeF>(6, QSizeF(400, 300)).toList()));
}

void TestPdfService::opensWithAndWithoutPassword()
{
    DebenuDocument document(service, plain, QString());
    QVERIFY(document.isLoaded());
    QVERIFY(!document.isPasswordRequired());
    QVERIFY(document.id() != 0);
    QVERIFY(!document.isEncrypted());

    DebenuDocument locked(service, encrypted, QString());
    QVERIFY(locked.isLoaded());
    QVERIFY(locked.isPasswordRequired());
    QCOMPARE(locked.id(), 0);
    QVERIFY(logText().contains(QString("Can not load file:%1. Error code:404").arg(encrypted)));
    QCOMPARE(locked.pageCount(), 0);

    DebenuDocument unlocked(service, encrypted, "user", false);
    QVERIFY(unlocked.isLoaded());
    QVERIFY(!unlocked.isPasswordRequired());
    QCOMPARE(unlocked.pageCount(), 3);
    QVERIFY(unlocked.isEncrypted());

    DebenuDocument missing(service, path("missing.pdf"), QString());
    QVERIFY(!missing.isLoaded());
    QVERIFY(!missing.isPasswordRequired());
    QCOMPARE(missing.id(), 0);

    DebenuDocument fresh(service);
    QVERIFY(fresh.isLoaded());
    QVERIFY(fresh.id() != 0);
    QCOMPARE(fresh.pageCount(), 1);

    // The last document to let go of the service destroys it.
    QSharedPointer<DebenuService> own = QSharedPointer<DebenuService>::create();
    QWeakPointer<DebenuService> watch = own;
    auto* last = new DebenuDocument(own, plain, QString());
    own.reset();
    QCOMPARE(last->pageCount(), 3);
    delete last;
    QVERIFY(watch.isNull());
}

void TestPdfService::readsPageCountSizesAndTitle()
{
    DebenuDocument document(service, plain, QString());
    QCOMPARE(document.pageCount(), 3);
    QCOMPARE(document.pageSize(1), QSize(612, 792));
    QCOMPARE(document.pageSize(2), QSize(500, 300));
    QCOMPARE(document.title(), QString("Quarterly report"));
    QVERIFY(document.hasText());
    QVERIFY(document.fontCount() >= 1);

    // The page size of the selected page, unturned.
    QCOMPARE(document.selectPage(2), 1);
    QCOMPARE(document.selectedPage(), 2);
    QCOMPARE(document.pageWidth(), 300);
    QCOMPARE(document.pageHeight(), 500);

    DebenuDocument fresh(service);
    QVERIFY(!fresh.hasText());

    // A closed document's id answers nothing, even while another document is selected.
    int closed = 0;
    {
        DebenuDocument gone(service, sixPages, QString());
        closed = gone.id();
    }
    QCOMPARE(document.pageCount(), 3);
    QCOMPARE(service->pageCount(closed), 0);
    QVERIFY(service->renderPage(closed, 1, 72.0).isNull());
}

void TestPdfService::rendersPagesAt72Dpi()
{
    DebenuDocument document(service, plain, QString());
    const QImage first = document.renderFirstPage();
    QCOMPARE(first.size(), QSize(612, 792));
    QVERIFY(!allBlack(first));
    // White paper, the grey band at the top, black text in the middle.
    QCOMPARE(first.pixel(300, 780), qRgb(255, 255, 255));
    QVERIFY(qGray(first.pixel(300, 100)) < 160);

    const QImage turned = document.renderPage(2, 72.0);
    QCOMPARE(turned.size(), QSize(500, 300));
    QVERIFY(!allBlack(turned));
    QCOMPARE(document.renderPixmap(3).size(), QSize(612, 792));

    // A page that does not exist gives no image.
    QVERIFY(document.renderPage(9, 72.0).isNull());
}

void TestPdfService::rendersPagesToImageFiles_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<QByteArray>>("magic");
    using Magic = QList<QByteArray>;
    QTest::newRow("bmp") << "bmp" << 0 << Magic{"BM"};
    QTest::newRow("jpg") << "jpg" << 1 << Magic{"\xff\xd8\xff"};
    // Placeable or plain metafile.
    QTest::newRow("wmf") << "wmf" << 2 << Magic{"\xd7\xcd\xc6\x9a", QByteArray("\x01\x00\x09\x00", 4)};
    QTest::newRow("eps") << "eps" << 4 << Magic{"%!PS"};
    QTest::newRow("png") << "png" << 5 << Magic{"\x89PNG"};
    QTest::newRow("gif") << "gif" << 6 << Magic{"GIF8"};
    QTest::newRow("tiff") << "tiff" << 7 << Magic{"II*", QByteArray("MM\0*", 4)};
}

void TestPdfService::rendersPagesToImageFiles()
{
    QFETCH(QString, format);
    QFETCH(int, code);
    QFETCH(QList<QByteArray>, magic);
    DebenuDocument document(service, plain, QString());
    const QString output = path("page2." + format);
    QCOMPARE(document.renderPageToFile(72.0, 2, code, output), 1);
    const QByteArray bytes = TestFiles::readFile(output);
    QVERIFY2(std::any_of(magic.begin(), magic.end(), [&](const QByteArray& m) { return bytes.startsWith(m); }),
             bytes.left(8).toHex().constData());

    // Raster formats hold the turned page at the requested resolution.
    if (QStringList{"bmp", "jpg", "png", "gif", "tiff"}.contains(format)) {
        QCOMPARE(QImage(output).size(), QSize(500, 300));
        QCOMPARE(document.renderPageToFile(144.0, 2, code, output), 1);
        QCOMPARE(QImage(output).size(), QSize(1000, 600));
    }
}

void TestPdfService::buildsAProtectedPdfFromImages()
{
    // A red 600 x 300 picture at 300 dpi: 144 x 72 points.
    QImage picture(600, 300, QImage::Format_RGB32);
    picture.fill(QColor(220, 30, 30));
    picture.setDotsPerMeterX(11811);
    picture.setDotsPerMeterY(11811);
    const QString picturePath = path("picture.png");
    QVERIFY(picture.save(picturePath));

    const QString output = path("images.pdf");
    {
        DebenuDocument document(service, false);
        // Page 1: A4 landscape with a margin of 56 points, the picture turned by 90 degrees.
        const int image = document.addImageFromFile(picturePath, 0);
        QVERIFY(image != 0);
        QCOMPARE(document.imageWidth(image), 600);
        QCOMPARE(document.imageHeight(image), 300);
        document.selectImage(image);
        document.selectPage(document.selectedPage());
        QVERIFY(document.setPageSize("A4 Landscape") != 0);
        const int width = document.pageWidth();
        const int height = document.pageHeight();
        QCOMPARE(QSize(width, height), QSize(842, 595));
        const int margin = 56;
        QVERIFY(document.fitImage(image, margin, height - margin, width - 2 * margin, height - 2 * margin, 1, 1, 2)
                != 0);

        // Page 2: the page fitted to the picture.
        QVERIFY(document.newPage() != 0);
        QCOMPARE(document.selectedPage(), 2);
        const int second = document.addImageFromFile(picturePath, 0);
        QVERIFY(document.setPageDimensions(144, 72) != 0);
        QVERIFY(document.fitImage(second, 0, 72, 144, 72, 0, 0, 0) != 0);

        QVERIFY(document.setProperties(DocumentProperties{"Ann Author", "Pictures", "secret", "Maker", "Press"}));
        QVERIFY(document.save(output));
    }
    QVERIFY(checksOut(output, "secret"));
    QCOMPARE(pdfInfo(output, "Pages", "secret"), QString("2"));
    QCOMPARE(pdfInfo(output, "Title", "secret"), QString("Pictures"));
    QCOMPARE(pdfInfo(output, "Author", "secret"), QString("Ann Author"));
    QCOMPARE(pdfInfo(output, "Creator", "secret"), QString("Maker"));
    QCOMPARE(pdfInfo(output, "Producer", "secret"), QString("Press"));
    QVERIFY(pdfInfo(output, "Encrypted", "secret").startsWith("yes"));
    QVERIFY(pdfInfo(output, "size", "secret", 2).startsWith("144 x 72"));
    QVERIFY(pdfInfo(output, "size", "secret", 1).startsWith("842 x 595"));

    DebenuDocument locked(service, output, QString());
    QVERIFY(locked.isPasswordRequired());
    DebenuDocument reopened(service, output, "secret");
    QVERIFY(reopened.isLoaded() && !reopened.isPasswordRequired());
    QCOMPARE(reopened.pageCount(), 2);
    QCOMPARE(reopened.title(), QString("Pictures"));
    // The turned picture (one unit wide, two high) fills the height between the margins,
    // centred: about 242 x 483 points from (300, 56).
    const QImage page = reopened.renderFirstPage();
    QCOMPARE(page.size(), QSize(842, 595));
    const auto red = [](QRgb pixel) { return qRed(pixel) > 180 && qGreen(pixel) < 90; };
    QVERIFY(red(page.pixel(421, 297)));
    QVERIFY(red(page.pixel(421, 70)));
    QCOMPARE(page.pixel(10, 297), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(250, 297), qRgb(255, 255, 255));
    QVERIFY(red(reopened.renderPage(2, 72.0).pixel(72, 36)));
}

void TestPdfService::mergesFiles()
{
    const QString output = path("merged.pdf");
    QVERIFY(!DebenuDocument::merge({}, output, service));
    QVERIFY(!QFile::exists(output));
    QVERIFY(logText().contains("Merge [FAILED]. Result merge count and count files for merge missmatch"));

    QVERIFY(DebenuDocument::merge({sixPages}, output, service));
    QVERIFY(checksOut(output));
    QCOMPARE(pdfInfo(output, "Pages"), QString("6"));
    QVERIFY(logText().contains("Merge [OK]"));
    QVERIFY(QFile::remove(output));

    const QString broken = path("broken.pdf");
    QVERIFY(TestFiles::writeFile(broken, "This is not a PDF file.\n"));
    QVERIFY(!DebenuDocument::merge({plain, broken, sixPages}, output, service));
    QVERIFY(!QFile::exists(output));
    QVERIFY(logText().contains("Append file [FAILED]:" + broken));
    QVERIFY(logText().contains("Last error code:"));

    QVERIFY(DebenuDocument::merge({plain, sixPages, plain}, output, service));
    QVERIFY(checksOut(output));
    QCOMPARE(pdfInfo(output, "Pages"), QString("12"));
    const QString text = pdfText(output);
    QVERIFY(text.indexOf("Page 6") < text.lastIndexOf("Page 3"));
    // The turned page stays turned.
    QVERIFY(pdfInfo(output, "rot", QString(), 2).startsWith("90"));
}

void TestPdfService::mergeWritesNothingWhenTheFirstFileDoesNotOpen()
{
    const QString output = path("notmerged.pdf");
    const QString broken = path("broken-first.pdf");
    QVERIFY(TestFiles::writeFile(broken, "Not a PDF either.\n"));
    QVERIFY(!DebenuDocument::merge({broken}, output, service));
    QVERIFY(!DebenuDocument::merge({broken, sixPages}, output, service));
    QVERIFY(!DebenuDocument::merge({encrypted, sixPages}, output, service));
    QVERIFY(!QFile::exists(output));
    QVERIFY(logText().contains("Open file [FAILED]:" + encrypted));
}

void TestPdfService::decryptsAndExtractsPageRanges()
{
    const QString decrypted = path("decrypted.pdf");
    QVERIFY(service->decryptFile(encrypted, decrypted, "wrong") != 1);
    QCOMPARE(service->decryptFile(encrypted, decrypted, "user"), 1);
    QVERIFY(checksOut(decrypted));
    QCOMPARE(pdfInfo(decrypted, "Encrypted"), QString("no"));
    QCOMPARE(pdfInfo(decrypted, "Pages"), QString("3"));

    const QString ranges = path("ranges.pdf");
    QCOMPARE(service->extractFilePages(sixPages, QString(), ranges, "1-2, 4"), 1);
    QVERIFY(checksOut(ranges));
    QCOMPARE(pdfInfo(ranges, "Pages"), QString("3"));
    QCOMPARE(pdfText(ranges), QString("Page 1 Page 2 Page 4"));

    const QString run = path("run.pdf");
    QCOMPARE(service->extractPages(sixPages, QString(), run, 3, 2), 1);
    QVERIFY(checksOut(run));
    QCOMPARE(pdfText(run), QString("Page 3 Page 4"));
    // Nothing of the extraction stays loaded: a failed one neither.
    QCOMPARE(service->extractPages(path("missing.pdf"), QString(), run, 1, 1), 0);
}

void TestPdfService::twoThreadsWorkOnDifferentDocumentsAtOnce()
{
    // Each thread reads its own document over and over; every operation selects its document
    // anew, so a selection made by the other thread in between would give the wrong answer.
    DebenuDocument letter(service, plain, QString());
    DebenuDocument small(service, sixPages, QString());
    std::atomic<int> wrong{0};
    std::atomic<int> waiting{2};
    const auto work = [&](DebenuDocument& document, int pages, QSize size, QString title) {
        for (--waiting; waiting > 0;) {
        }
        for (int round = 0; round < 400; ++round) {
            if (document.pageCount() != pages || document.pageSize(1) != size || document.title() != title)
                ++wrong;
            if (round % 4 == 0 && document.renderFirstPage().size() != size)
                ++wrong;
        }
    };
    // Several runs, so that an unguarded selection shows whatever the thread timing.
    for (int run = 0; run < 5; ++run) {
        waiting = 2;
        std::thread first(work, std::ref(letter), 3, QSize(612, 792), QString("Quarterly report"));
        std::thread second(work, std::ref(small), 6, QSize(400, 300), QString());
        first.join();
        second.join();
    }
    QCOMPARE(wrong.load(), 0);
}

void TestPdfService::wholeRoadFromAnEncryptedPdfToPageImages()
{
    // An encrypted six-page PDF: pages 1-2 and 5-6 become one file whose pages are rendered.
    const QString source = path("road-encrypted.pdf");
    QCOMPARE(qpdf({"--encrypt", "reader", "keeper", "256", "--", sixPages, source}), 0);

    DebenuDocument probe(service, source, QString());
    QVERIFY(probe.isPasswordRequired());

    const QString decrypted = path("road-decrypted.pdf");
    QCOMPARE(service->decryptFile(source, decrypted, "reader"), 1);
    const QString extracted = path("road-extracted.pdf");
    QCOMPARE(service->extractFilePages(decrypted, QString(), extracted, "1-2,5-6"), 1);
    QVERIFY(checksOut(extracted));

    DebenuDocument result(service, extracted, QString());
    QVERIFY(result.isLoaded() && !result.isPasswordRequired());
    QCOMPARE(result.pageCount(), 4);
    for (int page = 1; page <= 4; ++page) {
        const QImage image = result.renderPage(page, 72.0);
        QCOMPARE(image.size(), QSize(400, 300));
        QVERIFY(!allBlack(image));
    }
    QCOMPARE(pdfText(extracted), QString("Page 1 Page 2 Page 5 Page 6"));
}

QTEST_MAIN(TestPdfService)
#include "test_pdfservice.moc"
