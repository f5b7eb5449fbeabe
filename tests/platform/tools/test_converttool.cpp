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

// A small TIFF that declares `pages` white bilevel pages of side x side pixels, all sharing one
// G4 strip (each row of a white page codes as one bit), as hostile files are made.
QByteArray whiteG4Tiff(int pages, quint32 side)
{
    QByteArray strip((side + 7) / 8, char(0xFF));
    strip += QByteArray::fromHex("001001");
    struct Entry
    {
        quint16 tag;
        quint16 type; // 3 short, 4 long
        quint32 value;
    };
    const quint32 stripAt = 8;
    const Entry entries[] = {{256, 4, side}, {257, 4, side}, {258, 3, 1}, {259, 3, 4}, {262, 3, 0}, {273, 4, stripAt}, {277, 3, 1}, {278, 4, side}, {279, 4, quint32(strip.size())}};
    const int count = int(sizeof entries / sizeof entries[0]);
    const quint32 ifdSize = 2 + 12 * count + 4;
    QByteArray tiff("II*\0", 4);
    auto append32 = [&tiff](quint32 value) { tiff.append(reinterpret_cast<const char*>(&value), 4); };
    auto append16 = [&tiff](quint16 value) { tiff.append(reinterpret_cast<const char*>(&value), 2); };
    quint32 next = stripAt + quint32(strip.size());
    next += next % 2;
    append32(next);
    tiff += strip;
    tiff.append(QByteArray(int(next) - tiff.size(), '\0'));
    for (int page = 0; page < pages; ++page) {
        append16(quint16(count));
        for (const Entry& entry : entries) {
            append16(entry.tag);
            append16(entry.type);
            append32(1);
            append32(entry.value);
        }
        append32(page + 1 < pages ? next + ifdSize : 0);
        next += ifdSize;
    }
    return tiff;
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

    // A file whose pages declare more pixels than a page may have, or more than a file may have
    // all together, is refused from its headers within seconds, before any page is written; the
    // same kind of file with a sound size splits.
    void refusesFilesBeyondThePictureLimits_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("2000 pages of 20000 x 20000") << 2000 << 20000 << 1;
        QTest::newRow("150 pages of 17000 x 17000") << 150 << 17000 << 1;
        QTest::newRow("3 pages of 2000 x 2000") << 3 << 2000 << 0;
    }

    void refusesFilesBeyondThePictureLimits()
    {
        QFETCH(int, pages);
        QFETCH(int, side);
        QFETCH(int, exitCode);
        const QString folder = sandboxPath(QStringLiteral("declared-%1").arg(pages));
        QDir().mkpath(folder);
        const QString tiff = folder + QStringLiteral("/source.tif");
        TestFiles::writeFile(tiff, whiteG4Tiff(pages, quint32(side)));
        QProcess tool;
        tool.start(ToolPaths::path(ToolPaths::Convert), {"tiff:" + tiff, folder + "/page-%d.png"});
        const bool ended = tool.waitForFinished(10000);
        if (!ended)
            tool.kill();
        QVERIFY(ended);
        QCOMPARE(tool.exitCode(), exitCode);
        const QStringList written = QDir(folder).entryList({"*.png"});
        QCOMPARE(written.size(), exitCode == 0 ? pages : 0);
        if (exitCode == 0)
            QCOMPARE(QImage(folder + "/page-2.png").pixelColor(side - 1, side - 1), QColor(Qt::white));
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
