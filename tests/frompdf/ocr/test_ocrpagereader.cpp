#include "app/core/ToolPaths.h"
#include "frompdf/ocr/OcrImage.h"
#include "frompdf/ocr/OcrPageReader.h"
#include "tests/support/TestFiles.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

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
