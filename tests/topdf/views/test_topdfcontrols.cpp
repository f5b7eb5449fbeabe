#include "pdflib/service/DebenuService.h"
#include "shared/records/ToPdfRecords.h"
#include "tests/support/TestFiles.h"
#include "tests/topdf/support/PdfChecks.h"
#include "topdf/views/PositionControl.h"
#include "topdf/views/PreviewControl.h"
#include "topdf/workers/ToPdfWorkerFactory.h"
#include "topdf/workers/ToPdfWorkerImages.h"
#include "ui/kit/Style.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPainter>
#include <QtTest>

namespace {

const QColor blue(0, 0, 255);

// The bounding box of the pixels of one colour.
QRect boxOf(const QImage& image, const QColor& colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(blue);
    return image;
}

// The bounding box of the pixels near one colour (edges of rendered pictures are blended).
QRect boxNear(const QImage& image, const QColor& colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (PdfChecks::near(image.pixel(x, y), colour, 30))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QRect rendered(const LayoutSettingsData& layout, const QImage& image)
{
    return boxOf(PreviewControl::renderPage(layout, image, image.size()), blue);
}

} // namespace

class ToPdfControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        loadStyleSheet();
        registerToPdfRecordTypes();
    }

    // Loading a position reports activated(), a click layoutPositionChanged(); a position without
    // a box does nothing.
    void positionControlTellsLoadingFromClicking()
    {
        PositionControl control;
        const QList<QCheckBox*> boxes = control.findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 9);
        QCOMPARE(control.position(), 4);
        QSignalSpy clicked(&control, &PositionControl::layoutPositionChanged);
        QSignalSpy loaded(&control, &PositionControl::activated);

        control.setPosition(3);
        QCOMPARE(control.position(), 3);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(loaded.first().first().value<LayoutSettingsData::Position>(), LayoutSettingsData::MiddleLeft);
        QCOMPARE(clicked.count(), 0);

        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        QAbstractButton* middleLeft = nullptr;
        for (QCheckBox* box : boxes) {
            if (box->isChecked())
                middleLeft = box;
        }
        QTest::mouseClick(middleLeft, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().value<LayoutSettingsData::Position>(), LayoutSettingsData::MiddleLeft);

        control.setPosition(9);
        QCOMPARE(control.position(), 3);
        QCOMPARE(loaded.count() + clicked.count(), 2);
    }

    // A square fitted into A4 portrait: its distance from the paper's edge is the margin.
    void picturePlacedInsideTheMargins_data()
    {
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("points");
        QTest::newRow("none") << int(LayoutSettingsData::NoMargin) << 0;
        QTest::newRow("small") << int(LayoutSettingsData::Small) << 28;
        QTest::newRow("big") << int(LayoutSettingsData::Big) << 56;
    }

    void picturePlacedInsideTheMargins()
    {
        QFETCH(int, margin);
        QFETCH(int, points);
        LayoutSettingsData layout;
        layout.margin = margin;
        const QRect box = rendered(layout, picture(100, 100));
        QVERIFY2(qAbs(box.left() - points) <= 1, qPrintable(QString::number(box.left())));
        QVERIFY2(qAbs(595 - 1 - box.right() - points) <= 1, qPrintable(QString::number(box.right())));
        QCOMPARE(box.width(), box.height());
        QVERIFY(qAbs(box.center().y() - 420) <= 1);
    }

    // Landscape with a big margin at the bottom right: a tall picture fills the content's height
    // and ends one pixel before the content's right and bottom edges; a turn of 90 degrees lays it
    // down; at its own size it keeps its pixels; a fitting page takes the picture's size.
    void placesTurnsAndSizes()
    {
        LayoutSettingsData layout;
        layout.orientation = LayoutSettingsData::Landscape;
        layout.margin = LayoutSettingsData::Big;
        layout.position = LayoutSettingsData::BottomRight;
        const QImage page = PreviewControl::renderPage(layout, picture(100, 200), QSize(100, 200));
        QCOMPARE(page.size(), QSize(841, 595));
        QCOMPARE(page.pixelColor(420, 10), QColor(Qt::white));
        QCOMPARE(page.pixelColor(0, 300), QColor(Qt::red));
        const QRect tall = boxOf(page, blue);
        QVERIFY2(qAbs(tall.height() - (595 - 2 * 56)) <= 2, qPrintable(QString::number(tall.height())));
        QVERIFY2(qAbs(841 - tall.right() - 58) <= 1 && qAbs(595 - tall.bottom() - 58) <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(tall.right()).arg(tall.bottom())));

        layout.rotate = 90;
        const QRect turned = rendered(layout, picture(100, 200));
        QVERIFY(turned.width() > turned.height());

        layout = LayoutSettingsData();
        layout.imageSize = LayoutSettingsData::Original;
        layout.position = LayoutSettingsData::TopLeft;
        QCOMPARE(rendered(layout, picture(100, 50)).size(), QSize(100, 50));

        layout.pageSize = LayoutSettingsData::FitImage;
        QCOMPARE(PreviewControl::renderPage(layout, picture(300, 120), QSize(300, 120)).size(), QSize(300, 120));
    }

    // "Original" puts the picture on the PDF page where the preview shows it: at its own size by
    // its resolution (96 dpi when the file states none), aligned within the margins, turned, and
    // cut by the page. Both pages at one pixel a point; the picture's green and blue halves are
    // compared box by box.
    void originalSizeMatchesThePreview_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("rotate");
        QTest::newRow("A4, 150 dpi, bottom right") << QSize(400, 200) << 150 << int(LayoutSettingsData::A4)
                                                   << int(LayoutSettingsData::Portrait) << int(LayoutSettingsData::Small)
                                                   << int(LayoutSettingsData::BottomRight) << 0;
        QTest::newRow("A5 landscape, no resolution, turned") << QSize(300, 160) << 0 << int(LayoutSettingsData::A5)
                                                             << int(LayoutSettingsData::Landscape) << int(LayoutSettingsData::Big)
                                                             << int(LayoutSettingsData::TopLeft) << 90;
        QTest::newRow("Letter, larger than the page, centred") << QSize(1500, 1000) << 72 << int(LayoutSettingsData::Letter)
                                                               << int(LayoutSettingsData::Portrait) << int(LayoutSettingsData::Small)
                                                               << int(LayoutSettingsData::Center) << 270;
    }

    void originalSizeMatchesThePreview()
    {
        QFETCH(QSize, pixels);
        QFETCH(int, dpi);
        LayoutSettingsData layout;
        layout.imageSize = LayoutSettingsData::Original;
        QFETCH(int, pageSize);
        layout.pageSize = pageSize;
        QFETCH(int, orientation);
        layout.orientation = orientation;
        QFETCH(int, margin);
        layout.margin = margin;
        QFETCH(int, position);
        layout.position = position;
        QFETCH(int, rotate);
        layout.rotate = rotate;

        const QColor green(0, 160, 0);
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(blue);
        QPainter(&image).fillRect(0, 0, pixels.width() / 2, pixels.height(), green);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QString path = TestFiles::sandbox() + QStringLiteral("/original.png");
        QVERIFY(image.save(path));
        if (dpi == 0) {
            // Qt always states a resolution: the file loses its pHYs chunk (length, name, 9 bytes, CRC).
            QByteArray png = TestFiles::readFile(path);
            const int chunk = png.indexOf("pHYs");
            QVERIFY(chunk >= 4);
            TestFiles::writeFile(path, png.remove(chunk - 4, 21));
        }

        const auto service = QSharedPointer<DebenuService>::create();
        ToPDFTask task;
        task.file = QFileInfo(path);
        task.fileSettings.fileName = QStringLiteral("original");
        task.layoutSettings = layout;
        ToPdfWorkerContext context;
        context.service = service;
        const QString out = TestFiles::sandbox() + QStringLiteral("/original-out");
        QDir(out).removeRecursively();
        QVERIFY(createWorker(task, context)->execute(task, 2, out));
        const QImage pdfPage = PdfChecks::render(out + QStringLiteral("/original.pdf"), 72).value(0);

        const QSizeF points = ToPdfWorkerImages::pictureSize(service, path);
        QCOMPARE(points, QSizeF(pixels) * 72.0 / (dpi ? dpi : 96));
        const QImage preview = PreviewControl::renderPage(layout, image, points.toSize());
        // The preview's paper is in whole points, cut off (A4 is 841 points high, Letter 790).
        QVERIFY2(qAbs(preview.width() - pdfPage.width()) <= 2 && qAbs(preview.height() - pdfPage.height()) <= 2,
                 qPrintable(QStringLiteral("%1x%2").arg(pdfPage.width()).arg(pdfPage.height())));
        for (const QColor& colour : {green, blue}) {
            const QRect inPdf = boxNear(pdfPage, colour);
            const QRect inPreview = boxNear(preview, colour);
            const QString boxes = QStringLiteral("pdf %1,%2 %3x%4, preview %5,%6 %7x%8")
                                      .arg(inPdf.x())
                                      .arg(inPdf.y())
                                      .arg(inPdf.width())
                                      .arg(inPdf.height())
                                      .arg(inPreview.x())
                                      .arg(inPreview.y())
                                      .arg(inPreview.width())
                                      .arg(inPreview.height());
            QVERIFY2(!inPdf.isEmpty(), qPrintable(boxes));
            // Within three points: the preview's paper and its integer halves are a point or two off.
            for (const auto& corner : {&QRect::topLeft, &QRect::bottomRight}) {
                const QPoint offset = (inPdf.*corner)() - (inPreview.*corner)();
                QVERIFY2(qAbs(offset.x()) <= 3 && qAbs(offset.y()) <= 3, qPrintable(boxes));
            }
        }
    }

    // On screen the page is scaled into the square: upright for portrait, lying for landscape,
    // on the dark ground; without a picture it shows the default cover.
    void previewShowsThePaper()
    {
        PreviewControl preview;
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCOMPARE(preview.size(), QSize(135, 135));
        const auto paper = [&preview] {
            QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
            return boxOf(shot, Qt::white);
        };
        QCOMPARE(preview.grab().toImage().pixelColor(2, 2), QColor(0x4C, 0x4C, 0x4C));
        const QRect portrait = paper();
        QVERIFY2(portrait.height() > portrait.width() && portrait.height() >= 120, qPrintable(QStringLiteral("%1x%2").arg(portrait.width()).arg(portrait.height())));

        LayoutSettingsData layout;
        layout.orientation = LayoutSettingsData::Landscape;
        layout.margin = LayoutSettingsData::NoMargin;
        preview.setLayoutSettings(layout);
        QVERIFY(!preview.loadImage(QStringLiteral("/no/such/picture.png")));
        const QRect landscape = paper();
        QVERIFY(landscape.width() > landscape.height() && landscape.width() >= 120);
    }
};

QTEST_MAIN(ToPdfControlsTest)
#include "test_topdfcontrols.moc"
