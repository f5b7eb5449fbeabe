#include "app/core/ToolPaths.h"
#include "frompdf/ocr/OcrImage.h"
#include "frompdf/ocr/OcrPageReader.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/support/TestFiles.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <leptonica/allheaders.h>

#include <atomic>
#include <thread>

namespace {

// A scanned-looking page: black text on white, painted at 300 dpi.
QImage textPage(const QStringList& lines, QImage::Format format, int width = 1700, int height = 1100)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(50);
    painter.setFont(font);
    painter.setPen(Qt::black);
    int y = 150;
    for (const QString& line : lines) {
        painter.drawText(120, y, line);
        y += 90;
    }
    painter.end();
    return image.convertToFormat(format);
}

// A full A4 page of text at 300 dpi: seconds of recognition.
QImage densePage()
{
    QStringList lines;
    for (int line = 0; line < 37; ++line)
        lines << QStringLiteral("Lantern %1 harbour keeper morning river stone window").arg(line);
    return textPage(lines, QImage::Format_RGB32, 2480, 3508);
}

// A 32-bit Leptonica page of width x height at dpi, with a few black bars on white.
Pix* leptonicaPage(int width, int height, int dpi)
{
    Pix* page = pixCreate(width, height, 32);
    pixSetAllArbitrary(page, 0xffffff00);
    for (int y = height / 8; y < height * 7 / 8; y += height / 8)
        pixRasterop(page, width / 10, y, width * 8 / 10, std::max(2, height / 60), PIX_SET, nullptr, 0, 0);
    pixSetResolution(page, dpi, dpi);
    return page;
}

// Recognises path with reader and asks for a stop delayMs after the start: the milliseconds from
// the stop to the end of the recognition, or -1 when the page was read all the same.
qint64 stopAnsweredMs(OcrPageReader& reader, const QString& path, int delayMs)
{
    std::atomic<bool> stop{false};
    std::atomic<qint64> stoppedAt{0};
    QElapsedTimer clock;
    reader.setCancelCheck([&] { return stop.load(); });
    clock.start();
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        stoppedAt = clock.elapsed();
        stop = true;
    });
    QString text;
    QString reason;
    const bool recognised = reader.recognizeFile(path, &text, &reason);
    const qint64 finishedAt = clock.elapsed();
    stopper.join();
    reader.setCancelCheck({});
    if (recognised || !reader.wasCancelled() || !text.isEmpty())
        return -1;
    return finishedAt - stoppedAt;
}

QString normalised(QString text)
{
    return text.simplified();
}

} // namespace

class OcrPageReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_folder = TestFiles::sandbox() + QStringLiteral("/ocr");
        QDir().mkpath(m_folder);
    }

    void scaleFactorFollowsTheTileCount()
    {
        QCOMPARE(ocrScaleFactor(900, 1200, 200, 200), 1.0f);
        QCOMPARE(ocrScaleFactor(600, 1000, 200, 200), 2.0f);
        QCOMPARE(ocrScaleFactor(1000, 600, 200, 200), 2.0f);
        QCOMPARE(ocrScaleFactor(600, 600, 200, 200), 2.0f);   // equal counts: the height decides
        QCOMPARE(ocrScaleFactor(2480, 3508, 200, 200), 1.0f); // an A4 page at 300 dpi
    }

    // Colour and grey JPEGs of a page are both read; the text comes back word for word.
    void recognisesColourAndGreyPages_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("colour") << int(QImage::Format_RGB32);
        QTest::newRow("grey") << int(QImage::Format_Grayscale8);
    }

    void recognisesColourAndGreyPages()
    {
        QFETCH(int, format);
        const QStringList lines = {QStringLiteral("Quarterly report of the lighthouse keepers"),
                                   QStringLiteral("Seven lanterns were polished on Monday")};
        const QString path = m_folder + QStringLiteral("/page%1.jpg").arg(format);
        QVERIFY(textPage(lines, QImage::Format(format)).save(path, "JPG", 90));

        OcrPageReader reader;
        QVERIFY(reader.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng")));
        QString text;
        QString reason;
        QVERIFY(reader.recognizeFile(path, &text, &reason));
        QVERIFY2(normalised(text).contains(lines.join(QLatin1Char(' '))), qPrintable(text));
        QVERIFY(QFileInfo::exists(path));
        // A second page through the same engine starts clean.
        QVERIFY(reader.recognizeFile(path, &text, &reason));
        QCOMPARE(normalised(text).count(QStringLiteral("lighthouse")), 1);
    }

    // A small image is scaled up before binarising and still read.
    void recognisesSmallImage()
    {
        const QString path = m_folder + QStringLiteral("/small.png");
        QImage page = textPage({QStringLiteral("Harbour")}, QImage::Format_RGB32, 600, 300);
        QVERIFY(page.save(path));
        OcrPageReader reader;
        QVERIFY(reader.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng")));
        QString text;
        QString reason;
        QVERIFY(reader.recognizeFile(path, &text, &reason));
        QVERIFY2(text.contains(QStringLiteral("Harbour")), qPrintable(text));
    }

    // The engine is told the page's resolution instead of guessing it from the page: the
    // prepared image keeps it, scaled with a small page.
    void preparationKeepsTheResolution()
    {
        Pix* page = prepareOcrImage(leptonicaPage(2480, 3508, 300), 200, 200, 100, 50, 255, 0, 0, 0.09f);
        QVERIFY(page);
        QCOMPARE(pixGetDepth(page), 1);
        QCOMPARE(int(pixGetXRes(page)), 300);
        QCOMPARE(int(pixGetYRes(page)), 300);
        pixDestroy(&page);

        // 600 x 300 pixels: scaled by 6 x 200 / 300 = 4.
        Pix* small = prepareOcrImage(leptonicaPage(600, 300, 150), 200, 200, 100, 50, 255, 0, 0, 0.09f);
        QVERIFY(small);
        QCOMPARE(int(pixGetWidth(small)), 2400);
        QCOMPARE(int(pixGetYRes(small)), 600);
        pixDestroy(&small);
    }

    // The specks of a scan (marks of 1/150 inch or less) go before the page is analysed; a period
    // of small type stays.
    void preparationTakesOffSpecks()
    {
        Pix* page = leptonicaPage(2480, 3508, 300);
        pixRasterop(page, 100, 100, 2, 2, PIX_CLR, nullptr, 0, 0); // a speck
        pixRasterop(page, 300, 100, 4, 4, PIX_CLR, nullptr, 0, 0); // a period of 6-point type
        Pix* prepared = prepareOcrImage(page, 200, 200, 100, 50, 255, 0, 0, 0.09f);
        QVERIFY(prepared);
        l_uint32 speck = 1;
        l_uint32 period = 0;
        pixGetPixel(prepared, 101, 101, &speck);
        pixGetPixel(prepared, 301, 101, &period);
        pixDestroy(&prepared);
        QCOMPARE(int(speck), 0);
        QCOMPARE(int(period), 1);
    }

    // A stop asked for while a page is recognised ends the recognition within a second (more under
    // the sanitizers).
    void cancelEndsThePageAtOnce()
    {
        const QString path = m_folder + QStringLiteral("/dense.jpg");
        QVERIFY(densePage().save(path, "JPG", 90));
        OcrPageReader reader;
        QVERIFY(reader.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng")));
        const qint64 answered = stopAnsweredMs(reader, path, 400);
        QVERIFY2(answered >= 0 && answered < QP_STOP_ANSWERED_MS, qPrintable(QString::number(answered)));

        // The next page is read in full again.
        const QString next = m_folder + QStringLiteral("/next.png");
        QVERIFY(textPage({QStringLiteral("Seven lanterns were polished on Monday")}, QImage::Format_RGB32).save(next));
        QString text;
        QString reason;
        QVERIFY(reader.recognizeFile(next, &text, &reason));
        QVERIFY(!reader.wasCancelled());
        QVERIFY2(normalised(text).contains(QStringLiteral("Seven lanterns were polished")), qPrintable(text));
    }

    // Tesseract's analysis of a page's layout asks nobody whether to stop, and on a speckled scan
    // it runs for seconds: a stop asked for while it runs ends the page within a second too.
    void cancelEndsTheLayoutAnalysisOfANoisyPage()
    {
        // Colour, as pages come from the renderer, so that the whole preparation runs.
        const QString path = m_folder + QStringLiteral("/noisy.jpg");
        const QImage page = TestPdfs::noisyScan(TestPdfs::sentencePages(1, 40).first());
        QVERIFY(page.convertToFormat(QImage::Format_RGB32).save(path, "JPG", 85));
        OcrPageReader reader;
        QVERIFY(reader.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng")));
        const qint64 answered = stopAnsweredMs(reader, path, 300);
        QVERIFY2(answered >= 0 && answered < QP_STOP_ANSWERED_MS, qPrintable(QString::number(answered)));
    }

    void failures()
    {
        OcrPageReader missingLanguage;
        QVERIFY(!missingLanguage.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("xyz")));

        OcrPageReader reader;
        QVERIFY(reader.init(ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng")));
        const QString broken = m_folder + QStringLiteral("/broken.jpg");
        QVERIFY(TestFiles::writeFile(broken, "not an image"));
        QString text;
        QString reason;
        QVERIFY(!reader.recognizeFile(broken, &text, &reason));
        QCOMPARE(reason, QStringLiteral("leptonica: can not read image"));
    }

private:
    QString m_folder;
};

QTEST_MAIN(OcrPageReaderTest)
#include "test_ocrpagereader.moc"
