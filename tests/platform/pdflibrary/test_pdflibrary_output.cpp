// The PDF library stand-in, driven through the Qt binding: rendering into a canvas and into image
// files of every format the callers ask for, and building pages from images.

#include "pdflib/binding/generated/DebenuPDFLibraryDLLQt1212.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QtEndian>
#include <QtTest>
#include <sys/resource.h>

using namespace PdfLibraryFixtures;

namespace {

const QRgb blue = qRgb(0, 0, 255);
const QRgb white = qRgb(255, 255, 255);

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

bool near(QRgb a, QRgb b, int tolerance = 40)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// A picture with four coloured quadrants: red top-left, green top-right, blue bottom-left,
// yellow bottom-right.
QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::yellow);
    return image;
}

// A picture of random colours, which compresses little.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// Renders page 1 of the selected document at 72 dpi through a PNG file.
QImage renderedPage(DebenuPDFLibraryDLLQt1212& dpl, const QString& name)
{
    const QString path = sandboxFile(name);
    if (dpl.RenderPageToFile(72, 1, 5, path) != 1)
        return QImage();
    return QImage(path);
}

} // namespace

class TestPdfLibraryOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void rendersTurnedPageIntoCanvas();
    void rejectsUnusableCanvas();
    void writesEveryImageFormat_data();
    void writesEveryImageFormat();
    void gifKeepsFewColoursAndReducesManyWithoutDithering();
    void failedRenderingLeavesFilesAlone();
    void pagesOverTheMemoryCapFail();
    void jpegPagesKeepTheJpegBytes();
    void cmykJpegKeepsItsColours();
    void otherImagesStayLossless_data();
    void otherImagesStayLossless();
    void fitImageTurnsAndAligns_data();
    void fitImageTurnsAndAligns();
    void pageSizesByName_data();
    void pageSizesByName();
    void badImagesFail();
    void picturesCutShortFail();

private:
    QScopedPointer<DebenuPDFLibraryDLLQt1212> dpl;
};

void TestPdfLibraryOutput::initTestCase()
{
    dpl.reset(new DebenuPDFLibraryDLLQt1212(libraryPath()));
    QVERIFY(dpl->LibraryLoaded());
}

void TestPdfLibraryOutput::cleanup()
{
    while (dpl->DocumentCount() > 0 && dpl->SelectedDocument() > 0)
        dpl->RemoveDocument(dpl->SelectedDocument());
}

void TestPdfLibraryOutput::rendersTurnedPageIntoCanvas()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("turned.pdf", textPdf(1, 90)), QString()), 1);
    // A canvas larger than the turned page (792 x 612 at 72 dpi), filled black beforehand.
    QImage image(900, 700, QImage::Format_RGB32);
    image.fill(Qt::black);
    QpCanvas canvas{image.width(), image.height(), int(image.bytesPerLine()), image.bits()};
    QCOMPARE(dpl->RenderPageToDC(72.0, 1, &canvas), 1);

    // Turned clockwise, the box at the page's bottom-left lands at the top-left.
    QCOMPARE(image.pixel(175, 200), blue);
    QCOMPARE(image.pixel(175, 400), white);
    QCOMPARE(image.pixel(700, 500), white);
    // The paper covers the whole canvas, and every pixel is opaque.
    QCOMPARE(image.pixel(850, 650), white);
    QCOMPARE(qAlpha(reinterpret_cast<const QRgb*>(image.constBits())[0]), 255);
}

void TestPdfLibraryOutput::rejectsUnusableCanvas()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("plain.pdf", textPdf(1)), QString()), 1);
    QImage image(10, 10, QImage::Format_RGB32);
    QpCanvas noBits{10, 10, 40, nullptr};
    QpCanvas shortRows{10, 10, 20, image.bits()};
    QpCanvas empty{0, 10, 40, image.bits()};
    for (QpCanvas* canvas : {&noBits, &shortRows, &empty, static_cast<QpCanvas*>(nullptr)}) {
        QCOMPARE(dpl->RenderPageToDC(72.0, 1, canvas), 0);
        QCOMPARE(dpl->LastErrorCode(), 1005);
    }
    QpCanvas fine{10, 10, 40, image.bits()};
    QCOMPARE(dpl->RenderPageToDC(72.0, 2, &fine), 0);
    QCOMPARE(dpl->RenderPageToDC(0.0, 1, &fine), 0);
    QCOMPARE(dpl->RenderPageToDC(72.0, 1, &fine), 1);
}

void TestPdfLibraryOutput::writesEveryImageFormat_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("bmp") << 0 << "bmp";
    QTest::newRow("jpg") << 1 << "jpg";
    QTest::newRow("wmf") << 2 << "wmf";
    QTest::newRow("eps") << 4 << "eps";
    QTest::newRow("png") << 5 << "png";
    QTest::newRow("gif") << 6 << "gif";
    QTest::newRow("tiff") << 7 << "tiff";
}

void TestPdfLibraryOutput::writesEveryImageFormat()
{
    QFETCH(int, code);
    QFETCH(QString, suffix);
    QCOMPARE(dpl->LoadFromFile(sandboxFile("page.pdf", textPdf(2)), QString()), 1);
    const QString path = sandboxFile("page2." + suffix);
    QCOMPARE(dpl->RenderPageToFile(150, 2, code, path), 1);

    // Read back by independent readers: Qt's image plugins, Ghostscript for EPS, libwmf for WMF.
    QString readable = path;
    if (suffix == "eps") {
        readable = sandboxFile("eps.png");
        QCOMPARE(TestFiles::run("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-r150",
                                       "-sDEVICE=png16m", "-sOutputFile=" + readable, path}),
                 0);
    } else if (suffix == "wmf") {
        readable = sandboxFile("wmf.png");
        QCOMPARE(TestFiles::run("wmf2gd", {"-t", "png", "--maxwidth=1275", "--maxheight=1650", "--maxpect", "-o", readable, path}), 0);
    }
    const QImage image(readable);
    QVERIFY(!image.isNull());
    if (suffix != "wmf")
        QCOMPARE(image.size(), QSize(1275, 1650));
    const double scale = image.width() / 612.0;
    // The blue box (PDF x 100-300, y 100-250) and white paper above it.
    QVERIFY(near(image.pixel(int(200 * scale), image.height() - int(175 * scale)), blue));
    QVERIFY(near(image.pixel(int(200 * scale), image.height() - int(400 * scale)), white));
    if (suffix == "jpg")
        QVERIFY(!image.allGray()); // colour, as the OCR preparation expects
}

void TestPdfLibraryOutput::gifKeepsFewColoursAndReducesManyWithoutDithering()
{
    // A text page of at most 256 colours: the GIF holds exactly the pixels of the PNG.
    QCOMPARE(dpl->LoadFromFile(sandboxFile("few.pdf", textPdf(2)), QString()), 1);
    QCOMPARE(dpl->RenderPageToFile(150, 2, 5, sandboxFile("few.png")), 1);
    QCOMPARE(dpl->RenderPageToFile(150, 2, 6, sandboxFile("few.gif")), 1);
    const QImage png = QImage(sandboxFile("few.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(distinctColours(png) <= 256);
    QCOMPARE(QImage(sandboxFile("few.gif")).convertToFormat(QImage::Format_RGB32), png);

    // A band of 8192 colours above a flat one: at most 256 remain, and the flat band stays one
    // colour (dithering would scatter it).
    QImage picture(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, y < 32 ? qRgb(x, y * 8, 255 - x) : qRgb(37, 142, 201));
    const QString file = sandboxFile("many.png");
    QVERIFY(picture.save(file));
    QVERIFY(dpl->NewDocument() > 0);
    QVERIFY(dpl->AddImageFromFile(file, 0) > 0);
    QCOMPARE(dpl->SetPageDimensions(256, 64), 1);
    QCOMPARE(dpl->FitImage(0, 64, 256, 64, 0, 0, 0), 1);
    QCOMPARE(dpl->RenderPageToFile(72, 1, 6, sandboxFile("many.gif")), 1);
    const QImage gif(sandboxFile("many.gif"));
    QCOMPARE(gif.size(), QSize(256, 64));
    QVERIFY(distinctColours(gif) > 64 && distinctColours(gif) <= 256);
    const QRgb flat = gif.pixel(128, 48);
    QVERIFY(near(flat, qRgb(37, 142, 201), 12));
    for (int y = 36; y < 64; ++y)
        for (int x = 0; x < 256; ++x)
            QCOMPARE(gif.pixel(x, y), flat);
}

void TestPdfLibraryOutput::failedRenderingLeavesFilesAlone()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("plain.pdf", textPdf(1)), QString()), 1);
    const QString existing = sandboxFile("existing.png", "keep me");

    // Writing fails: result 2, nothing created.
    QCOMPARE(dpl->RenderPageToFile(72, 1, 5, sandboxFile("no-such-folder/page.png")), 2);
    QCOMPARE(dpl->RenderPageToFile(72, 1, 5, existing + "/page.png"), 2);
    QVERIFY(!QFile::exists(sandboxFile("no-such-folder")));
    // Rendering fails: result 0, the existing file untouched.
    QCOMPARE(dpl->RenderPageToFile(72, 2, 5, existing), 0);
    QCOMPARE(dpl->RenderPageToFile(72, 1, 3, existing), 0);
    QCOMPARE(dpl->RenderPageToFile(-5, 1, 5, existing), 0);
    QCOMPARE(TestFiles::readFile(existing), QByteArray("keep me"));
    QCOMPARE(TestFiles::entries(TestFiles::sandbox()).filter(".existing").size(), 0);
    // Asked to write there, it replaces the file.
    QCOMPARE(dpl->RenderPageToFile(72, 1, 5, existing), 1);
    QCOMPARE(QImage(existing).size(), QSize(612, 792));
}

// A picture whose decoding would need 2.5 GB: the page fails at once with 1011, no file is left,
// and the process never comes near that much memory.
void TestPdfLibraryOutput::pagesOverTheMemoryCapFail()
{
    QCOMPARE(dpl->LoadFromFile(sandboxFile("huge.pdf", hugeJbig2Pdf()), QString()), 1);
    QElapsedTimer clock;
    clock.start();
    const QString page = sandboxFile("huge.png");
    QCOMPARE(dpl->RenderPageToFile(72, 1, 5, page), 0);
    QCOMPARE(dpl->LastErrorCode(), 1011);
    QVERIFY(!QFile::exists(page));
    QImage canvasImage(612, 792, QImage::Format_RGB32);
    QpCanvas canvas{612, 792, int(canvasImage.bytesPerLine()), canvasImage.bits()};
    QCOMPARE(dpl->RenderPageToDC(72, 1, &canvas), 0);
    QCOMPARE(dpl->LastErrorCode(), 1011);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    QVERIFY2(usage.ru_maxrss < 1200 * 1024, qPrintable(QString::number(usage.ru_maxrss)));

    QCOMPARE(dpl->LoadFromFile(sandboxFile("plain.pdf", textPdf(1)), QString()), 1);
    QCOMPARE(dpl->RenderPageToFile(72, 1, 5, page), 1);
}

void TestPdfLibraryOutput::jpegPagesKeepTheJpegBytes()
{
    const QString photo = sandboxFile("photo.jpg");
    QVERIFY(quadrants(640, 480).save(photo, "JPEG", 90));
    const QByteArray jpeg = TestFiles::readFile(photo);

    const int id = dpl->NewDocument();
    QVERIFY(id > 0);
    QCOMPARE(dpl->PageCount(), 1);
    const int image = dpl->AddImageFromFile(photo, 0);
    QVERIFY(image > 0);
    QCOMPARE(dpl->SelectImage(image), 1);
    QCOMPARE(dpl->ImageWidth(), 640);
    QCOMPARE(dpl->ImageHeight(), 480);
    QCOMPARE(dpl->SetPageDimensions(320, 240), 1);
    QCOMPARE(dpl->FitImage(0, dpl->PageHeight(), dpl->PageWidth(), dpl->PageHeight(), 0, 0, 0), 1);
    const QString saved = sandboxFile("photo.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);

    QVERIFY(qpdfCheck(saved));
    QCOMPARE(pdfinfo(saved).value("Page size"), QString("320 x 240 pts"));
    QVERIFY(TestFiles::readFile(saved).contains(jpeg));
}

// Adobe CMYK JPEGs hold inverted values; embedded as they are, they need a Decode array.
void TestPdfLibraryOutput::cmykJpegKeepsItsColours()
{
    const QString rgb = sandboxFile("rgb.png");
    const QString cmyk = sandboxFile("cmyk.jpg");
    QVERIFY(quadrants(80, 40).save(rgb));
    QCOMPARE(TestFiles::run("/usr/bin/convert", {rgb, "-colorspace", "CMYK", "-quality", "95", cmyk}), 0);

    QVERIFY(dpl->NewDocument() > 0);
    QVERIFY(dpl->AddImageFromFile(cmyk, 0) > 0);
    QCOMPARE(dpl->SetPageDimensions(80, 40), 1);
    QCOMPARE(dpl->FitImage(0, 40, 80, 40, 0, 0, 0), 1);
    const QImage page = renderedPage(*dpl, "cmyk-page.png");
    QVERIFY(near(page.pixel(20, 10), qRgb(255, 0, 0), 80));
    QVERIFY(near(page.pixel(60, 30), qRgb(255, 255, 0), 80));
    QVERIFY(near(page.pixel(20, 30), qRgb(0, 0, 255), 80));
}

void TestPdfLibraryOutput::otherImagesStayLossless_data()
{
    // Bits a sample in the PDF, and whether the PNG's compressed rows went in as they are.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("passedThrough");
    QTest::newRow("png") << "png"
                         << "colour" << 8 << true;
    QTest::newRow("png with alpha") << "png"
                                    << "alpha" << 8 << false;
    QTest::newRow("png, black and white") << "png"
                                          << "mono" << 1 << true;
    QTest::newRow("png with a palette") << "png"
                                        << "palette" << 8 << true;
    QTest::newRow("bmp") << "bmp"
                         << "colour" << 8 << false;
    QTest::newRow("bmp, black and white") << "bmp"
                                          << "mono" << 1 << false;
    QTest::newRow("tiff") << "tiff"
                          << "colour" << 8 << false;
}

void TestPdfLibraryOutput::otherImagesStayLossless()
{
    QFETCH(QString, format);
    QFETCH(QString, kind);
    QFETCH(int, bits);
    QFETCH(bool, passedThrough);
    QImage picture = quadrants(64, 48);
    for (int x = 0; x < 64; ++x)
        picture.setPixel(x, 20, qRgb(x * 4, 255 - x * 3, (x * 37) % 256)); // more than flat colours
    if (kind == "alpha") {
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 48; ++y)
            for (int x = 32; x < 64; ++x)
                picture.setPixel(x, y, qRgba(0, 255, 0, 100));
    } else if (kind == "mono") {
        picture = picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    } else if (kind == "palette") {
        picture = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    }
    const QString file = sandboxFile("picture." + format);
    QVERIFY(picture.save(file, format.toLatin1().constData()));
    picture = picture.convertToFormat(QImage::Format_ARGB32);

    QVERIFY(dpl->NewDocument() > 0);
    QVERIFY(dpl->AddImageFromFile(file, 0) > 0);
    QCOMPARE(dpl->SetPageDimensions(64, 48), 1);
    QCOMPARE(dpl->FitImage(0, 48, 64, 48, 0, 0, 0), 1);
    const QString saved = sandboxFile("picture.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);
    QVERIFY(qpdfCheck(saved));

    // The image poppler extracts from the file has every original pixel, alpha as a soft mask.
    QByteArray list;
    QCOMPARE(TestFiles::run("pdfimages", {"-list", saved}, &list), 0);
    QCOMPARE(list.contains("smask"), kind == "alpha");
    const QStringList columns = QString::fromLatin1(list.split('\n').value(2)).split(' ', Qt::SkipEmptyParts);
    QCOMPARE(columns.value(7).toInt(), bits);
    if (format == "png") {
        // Qt writes one IDAT chunk: its data is in the PDF when the rows went in unchanged.
        const QByteArray png = TestFiles::readFile(file);
        const int idat = png.indexOf("IDAT");
        const int length = qFromBigEndian<qint32>(png.constData() + idat - 4);
        QCOMPARE(TestFiles::readFile(saved).contains(png.mid(idat + 4, length)), passedThrough);
    }
    const QString prefix = sandboxFile("extracted");
    QCOMPARE(TestFiles::run("pdfimages", {"-png", saved, prefix}), 0);
    const QImage colour = QImage(prefix + "-000.png").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(colour.size(), picture.size());
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            QCOMPARE(colour.pixel(x, y) & 0xFFFFFF, picture.pixel(x, y) & 0xFFFFFF);
    if (kind == "alpha") {
        const QImage mask(prefix + "-001.png");
        QCOMPARE(qGray(mask.pixel(10, 10)), 255);
        QCOMPARE(qGray(mask.pixel(50, 10)), 100);
    }
}

void TestPdfLibraryOutput::fitImageTurnsAndAligns_data()
{
    // Where the picture's red (top-left) quadrant lands on a square page it is centred on.
    QTest::addColumn<int>("rotate");
    QTest::addColumn<QPoint>("red");
    QTest::addColumn<QPoint>("yellow");
    QTest::newRow("none") << 0 << QPoint(100, 150) << QPoint(300, 250);
    QTest::newRow("quarter turn anticlockwise") << 1 << QPoint(150, 300) << QPoint(250, 100);
    QTest::newRow("quarter turn clockwise") << 2 << QPoint(250, 100) << QPoint(150, 300);
    QTest::newRow("half turn") << 3 << QPoint(300, 250) << QPoint(100, 150);
}

void TestPdfLibraryOutput::fitImageTurnsAndAligns()
{
    QFETCH(int, rotate);
    QFETCH(QPoint, red);
    QFETCH(QPoint, yellow);
    const QString file = sandboxFile("quadrants.png");
    QVERIFY(quadrants(40, 20).save(file)); // scaled up tenfold to fill the 400-point box

    QVERIFY(dpl->NewDocument() > 0);
    QCOMPARE(dpl->SetPageDimensions(400, 400), 1);
    QVERIFY(dpl->AddImageFromFile(file, 0) > 0);
    QCOMPARE(dpl->FitImage(0, 400, 400, 400, 1, 1, rotate), 1);
    const QImage page = renderedPage(*dpl, "fitted.png");
    QVERIFY(near(page.pixel(red), qRgb(255, 0, 0)));
    QVERIFY(near(page.pixel(yellow), qRgb(255, 255, 0)));
    // Centred: the margins left over by the aspect ratio stay white.
    const bool quarterTurn = rotate == 1 || rotate == 2;
    QCOMPARE(page.pixel(quarterTurn ? 50 : 200, quarterTurn ? 200 : 50), white);

    // Aligned right and bottom in a smaller box, not turned.
    QCOMPARE(dpl->NewPage(), 2);
    QCOMPARE(dpl->FitImage(0, 200, 400, 200, 2, 2, 0), 1);
    QCOMPARE(dpl->SelectedPage(), 2);
}

void TestPdfLibraryOutput::pageSizesByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("Letter") << "Letter" << QSizeF(612, 792);
    QTest::newRow("A3") << "A3" << QSizeF(842, 1191);
    QTest::newRow("A4 Landscape") << "A4 Landscape" << QSizeF(842, 595);
    QTest::newRow("a5") << "a5" << QSizeF(420, 595);
    QTest::newRow("B5 landscape") << "B5 landscape" << QSizeF(709, 499);
    QTest::newRow("unknown") << "Tabloid" << QSizeF();
    QTest::newRow("empty") << "" << QSizeF();
}

void TestPdfLibraryOutput::pageSizesByName()
{
    QFETCH(QString, name);
    QFETCH(QSizeF, size);
    QVERIFY(dpl->NewDocument() > 0);
    const QSizeF blank(dpl->PageWidth(), dpl->PageHeight());
    QCOMPARE(dpl->SetPageSize(name), size.isValid() ? 1 : 0);
    QCOMPARE(dpl->LastErrorCode(), size.isValid() ? 0 : 1010);
    const QSizeF expected = size.isValid() ? size : blank;
    QCOMPARE(QSizeF(dpl->PageWidth(), dpl->PageHeight()), expected);

    // A new page takes the selected page's size and becomes the selected one.
    QCOMPARE(dpl->NewPage(), 2);
    QCOMPARE(dpl->SelectedPage(), 2);
    QCOMPARE(QSizeF(dpl->PageWidth(), dpl->PageHeight()), expected);
    const QString saved = sandboxFile("sized.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);
    QVERIFY(qpdfCheck(saved));
    QCOMPARE(pdfinfo(saved).value("Pages"), QString("2"));
}

void TestPdfLibraryOutput::badImagesFail()
{
    QVERIFY(dpl->NewDocument() > 0);
    QCOMPARE(dpl->AddImageFromFile(sandboxFile("missing.png"), 0), 0);
    QCOMPARE(dpl->LastErrorCode(), 411);
    QCOMPARE(dpl->AddImageFromFile(sandboxFile("garbage.jpg", QByteArray("\xFF\xD8\xFF garbage", 12)), 0), 0);
    QCOMPARE(dpl->LastErrorCode(), 1004);
    QCOMPARE(dpl->AddImageFromFile(sandboxFile("empty.png", QByteArray("")), 0), 0);
    QCOMPARE(dpl->FitImage(0, 100, 100, 100, 0, 0, 0), 0);
    QCOMPARE(dpl->LastErrorCode(), 1003);
    QCOMPARE(dpl->SelectImage(99), 0);

    // A picture whose header reads but whose rows do not fails when it is drawn.
    QByteArray damaged;
    QBuffer buffer(&damaged);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && quadrants(64, 48).save(&buffer, "PNG"));
    damaged.replace(damaged.indexOf("IDAT") + 10, 16, QByteArray(16, '\x55'));
    QVERIFY(dpl->AddImageFromFile(sandboxFile("damaged.png", damaged), 0) > 0);
    QCOMPARE(dpl->FitImage(0, 100, 100, 100, 0, 0, 0), 0);
    QCOMPARE(dpl->LastErrorCode(), 1004);

    const QString file = sandboxFile("small.png");
    QVERIFY(quadrants(8, 8).save(file));
    QVERIFY(dpl->AddImageFromFile(file, 0) > 0);
    for (int code : {-1, 4}) {
        QCOMPARE(dpl->FitImage(0, 100, 100, 100, 0, 0, code), 0);
        QCOMPARE(dpl->LastErrorCode(), 1005);
    }
    QCOMPARE(dpl->FitImage(0, 100, 0, 100, 0, 0, 0), 0);
    QCOMPARE(dpl->FitImage(0, 100, 100, 100, 3, 0, 0), 0);
    // An image added but never drawn does not end up in the file.
    const QString saved = sandboxFile("undrawn.pdf");
    QCOMPARE(dpl->SaveToFile(saved), 1);
    QByteArray list;
    QCOMPARE(TestFiles::run("pdfimages", {"-list", saved}, &list), 0);
    QCOMPARE(list.count('\n'), 2); // the two header lines only
}

QTEST_GUILESS_MAIN(TestPdfLibraryOutput)
#include "test_pdflibrary_output.moc"

// A picture file cut short (a copy or a download that stopped) opens but decodes to a picture
// whose missing part is grey or black: it is refused as unreadable. A file that lacks only its
// end marker, its picture whole, still reads.
void TestPdfLibraryOutput::picturesCutShortFail()
{
    QVERIFY(dpl->NewDocument() > 0);
    const auto added = [this](const char* name, const QByteArray& bytes) {
        return dpl->AddImageFromFile(sandboxFile(QString::fromLatin1(name), bytes), 0);
    };
    const QByteArray jpeg = encoded(noise(800, 600), "JPEG");
    QVERIFY(jpeg.endsWith("\xFF\xD9") && jpeg.size() > 20000);
    QVERIFY(added("photo.jpg", jpeg) > 0);
    QCOMPARE(added("cut.jpg", jpeg.left(3000)), 0);
    QCOMPARE(dpl->LastErrorCode(), 1004);
    QCOMPARE(added("half.jpg", jpeg.left(jpeg.size() / 2)), 0);
    QVERIFY(added("no-end-marker.jpg", jpeg.chopped(2)) > 0);
    const QByteArray progressive = encoded(noise(800, 600), "JPEG", true);
    QVERIFY(added("progressive.jpg", progressive) > 0);
    QCOMPARE(added("progressive-cut.jpg", progressive.left(progressive.size() * 3 / 4)), 0);

    // libpng writes the rows in chunks of 8 KB: a cut between two of them leaves every chunk whole.
    const QByteArray png = encoded(noise(400, 300), "PNG");
    QVERIFY(png.count("IDAT") > 4);
    QVERIFY(added("picture.png", png) > 0);
    QCOMPARE(added("chunks-cut.png", png.left(png.indexOf("IDAT", png.indexOf("IDAT") + 4) - 4)), 0);
    QCOMPARE(added("cut.png", png.left(png.size() / 2)), 0);
    QVERIFY(added("no-end-chunk.png", png.left(png.lastIndexOf("IEND") - 4)) > 0);

    const QByteArray bmp = encoded(noise(100, 80), "BMP");
    QVERIFY(added("picture.bmp", bmp) > 0);
    QCOMPARE(added("cut.bmp", bmp.left(bmp.size() - 100)), 0);
    // An 8-bit run-length BMP of 4 x 2 pixels, black and blue: two rows of runs, then the
    // end-of-bitmap code.
    QByteArray rle;
    QDataStream out(&rle, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(0) << quint32(0) << quint32(62);                                         // file header
    out << quint32(40) << qint32(4) << qint32(2) << quint16(1) << quint16(8) << quint32(1); // RLE8
    out << quint32(0) << quint32(0) << quint32(0) << quint32(2) << quint32(0);              // two colours
    out << quint32(0) << quint32(0xFF);                                                     // the palette
    out.writeRawData("\x04\x01\x00\x00\x04\x00\x00\x01", 8);
    QVERIFY(added("runs.bmp", rle) > 0);
    QCOMPARE(added("runs-cut.bmp", rle.chopped(6)), 0);
}
