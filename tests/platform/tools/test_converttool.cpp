// The program folder's image tool: TIFF pages of ImageMagick's making split into PNG files of
// their own kind with the same pixels, in page order, and its other uses still served.
#include "app/core/ToolPaths.h"
#include "tests/support/TestFiles.h"

#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {

const QString imageMagick = QStringLiteral("/usr/bin/convert");

QString sandboxPath(const QString& name)
{
    return TestFiles::sandbox() + QLatin1Char('/') + name;
}

// Bit depth and colour type from a PNG file's header.
QPair<int, int> pngKind(const QString& png)
{
    const QByteArray bytes = TestFiles::readFile(png);
    if (bytes.size() < 26 || bytes.mid(12, 4) != "IHDR")
        return {-1, -1};
    return {int(quint8(bytes[24])), int(quint8(bytes[25]))};
}

// Pixels per metre from a PNG file's pHYs chunk; 0 without one.
quint32 pngPixelsPerMetre(const QString& png)
{
    const QByteArray bytes = TestFiles::readFile(png);
    const int chunk = bytes.indexOf("pHYs");
    return chunk < 0 ? 0 : qFromBigEndian<quint32>(bytes.constData() + chunk + 4);
}

int split(const QString& tiff, int page, const QString& png)
{
    return TestFiles::run(ToolPaths::path(ToolPaths::Convert), {QStringLiteral("tiff:%1[%2]").arg(tiff).arg(page), png});
}

} // namespace

class ConvertToolTest : public QObject
{
    Q_OBJECT

private slots:
    // Each kind of page: the PNG holds the TIFF's pixels at the page's own depth, with its
    // resolution.
    void splitsPagesAtTheirOwnDepth_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("colourType");
        QTest::newRow("bilevel G4, min-is-white") << QStringList{"-monochrome", "-compress", "Group4"} << 1 << 0;
        QTest::newRow("bilevel, min-is-black")
            << QStringList{"-monochrome", "-define", "tiff:photometric=min-is-black", "-compress", "Zip"} << 1 << 0;
        QTest::newRow("grey, min-is-white")
            << QStringList{"-colorspace", "Gray", "-depth", "8", "-define", "tiff:photometric=min-is-white"} << 8 << 0;
        QTest::newRow("palette of 16") << QStringList{"-colors", "16", "-type", "Palette", "-depth", "4"} << 4 << 3;
        QTest::newRow("palette of 200") << QStringList{"-colors", "200", "-type", "Palette"} << 8 << 3;
        QTest::newRow("RGB, LZW") << QStringList{"-type", "TrueColor", "-depth", "8", "-compress", "LZW"} << 8 << 2;
        QTest::newRow("RGB, 16 bits, left to ImageMagick") << QStringList{"-type", "TrueColor", "-depth", "16"} << -1 << -1;
        QTest::newRow("RGB with alpha, left to ImageMagick") << QStringList{"-type", "TrueColorAlpha"} << -1 << -1;
    }

    void splitsPagesAtTheirOwnDepth()
    {
        QFETCH(QStringList, options);
        QFETCH(int, depth);
        QFETCH(int, colourType);
        const QString tiff = sandboxPath(QStringLiteral("kind.tif"));
        QFile::remove(tiff);
        QStringList arguments = {"-seed", "7", "-size", "97x61", "plasma:fractal", "-units", "PixelsPerInch", "-density", "300"};
        QCOMPARE(TestFiles::run(imageMagick, arguments << options << tiff), 0);

        const QString png = sandboxPath(QStringLiteral("kind.png"));
        QCOMPARE(split(tiff, 0, png), 0);
        if (depth > 0)
            QCOMPARE(pngKind(png), qMakePair(depth, colourType));
        QCOMPARE(pngPixelsPerMetre(png), quint32(11811));
        // The pixels ImageMagick itself makes of the page.
        const QString theirs = sandboxPath(QStringLiteral("kind-imagemagick.png"));
        QCOMPARE(TestFiles::run(imageMagick, {QStringLiteral("tiff:%1[0]").arg(tiff), theirs}), 0);
        const QImage expected = QImage(theirs).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!expected.isNull());
        QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), expected);
    }

    // Twelve pages come out in order; a page past the last, and a cut-off file, give an error and
    // no file.
    void pagesInOrderAndFailures()
    {
        const QString tiff = sandboxPath(QStringLiteral("pages.tif"));
        QStringList arguments = {"-size", "30x20"};
        for (int page = 0; page < 12; ++page)
            arguments << QStringLiteral("xc:rgb(%1,%2,%3)").arg(page * 20).arg(255 - page * 20).arg(page * 7);
        QCOMPARE(TestFiles::run(imageMagick, arguments << "-compress"
                                                       << "LZW" << tiff),
                 0);
        for (int page = 0; page < 12; ++page) {
            const QString png = sandboxPath(QStringLiteral("page-%1.png").arg(page));
            QCOMPARE(split(tiff, page, png), 0);
            QCOMPARE(QImage(png).pixelColor(15, 10), QColor(page * 20, 255 - page * 20, page * 7));
        }

        const QString missing = sandboxPath(QStringLiteral("missing.png"));
        QCOMPARE(split(tiff, 12, missing), 1);
        const QString cut = sandboxPath(QStringLiteral("cut.tif"));
        QCOMPARE(TestFiles::run(imageMagick, {"-size", "400x300", "plasma:", "-compress", "LZW", cut}), 0);
        const QByteArray bytes = TestFiles::readFile(cut);
        TestFiles::writeFile(cut, bytes.left(bytes.size() / 3));
        QVERIFY(split(cut, 0, missing) != 0);
        QVERIFY(!QFile::exists(missing));
    }

    // Joining page images for the from-PDF side still goes through ImageMagick.
    void joinsImages()
    {
        const QString folder = sandboxPath(QStringLiteral("join"));
        QDir().mkpath(folder);
        for (int i = 0; i < 2; ++i) {
            QImage page(40, 30, QImage::Format_RGB32);
            page.fill(i ? Qt::blue : Qt::red);
            QVERIFY(page.save(QStringLiteral("%1/p%2.png").arg(folder).arg(i)));
        }
        const QString joined = sandboxPath(QStringLiteral("joined.png"));
        QCOMPARE(TestFiles::run(ToolPaths::path(ToolPaths::Convert), {"-append", folder + "/p*.png", joined}), 0);
        const QImage image(joined);
        QCOMPARE(image.size(), QSize(40, 60));
        QCOMPARE(image.pixelColor(20, 50), QColor(Qt::blue));
    }
};

QTEST_GUILESS_MAIN(ConvertToolTest)
#include "test_converttool.moc"
