#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/ToolPaths.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "tests/support/TestFiles.h"
#include "tests/topdf/support/PdfChecks.h"
#include "tests/topdf/workers/RunWorker.h"
#include "topdf/workers/ToPDFWorkerEbook.h"
#include "topdf/workers/ToPDFWorkerTIFF.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QtTest>

namespace {

QString folder(const QString& name)
{
    const QString path = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

// A picture whose left half is red and right half blue, at the given resolution.
QString writeTwoColourPng(const QString& path, QSize size, int dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.save(path);
    return path;
}

ToPDFTask makeTask(const QString& path, const QString& name)
{
    ToPDFTask task;
    task.file = QFileInfo(path);
    task.fileSettings.fileName = name;
    return task;
}

QColor pageColour(int page)
{
    return QColor(page * 20, 255 - page * 20, (page * 90) % 256);
}

} // namespace

class ToPdfWorkersTest : public QObject
{
    Q_OBJECT

    QSharedPointer<DebenuService> m_service;
    ToPdfWorkerContext m_context;

    QString convert(const ToPDFTask& task, const QString& outputFolder) { return runWorker(task, m_context, outputFolder); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        m_service = QSharedPointer<DebenuService>::create();
        m_context.service = m_service;
    }

    void cleanup()
    {
        for (ToolPaths::Tool tool : {ToolPaths::Convert, ToolPaths::QuillBook})
            qunsetenv(ToolPaths::environmentVariable(tool));
    }

    // A4 with a 20 mm margin and the picture at the bottom right; a 300-dpi picture in FitImage,
    // also turned by 90 degrees. Page boxes from pdfinfo, pixels from pdftoppm.
    void imagesAreLaidOutOnThePage()
    {
        const QString in = folder(QStringLiteral("layout/in"));
        const QString out = folder(QStringLiteral("layout/out"));
        ToPDFTask task = makeTask(writeTwoColourPng(in + "/wide.png", {400, 200}, 96), QStringLiteral("a4"));
        task.layoutSettings.margin = LayoutSettingsData::Big;
        task.layoutSettings.position = LayoutSettingsData::BottomRight;
        const QString a4 = convert(task, out);
        QCOMPARE(a4, QDir::toNativeSeparators(out + "/a4.pdf"));
        QCOMPARE(PdfChecks::pageSize(a4, 1).toSize(), QSize(595, 842));
        // The picture fills the width between the margins (56 points each) and sits on the bottom margin.
        const QImage page = PdfChecks::render(a4, 72).value(0);
        QVERIFY(PdfChecks::near(page.pixel(70, 842 - 70), Qt::red));
        QVERIFY(PdfChecks::near(page.pixel(525, 842 - 70), Qt::blue));
        QVERIFY(PdfChecks::near(page.pixel(525, 842 - 290), Qt::blue));
        for (const QPoint& blank : {QPoint(30, 842 - 70), QPoint(570, 842 - 70), QPoint(300, 842 - 30), QPoint(300, 842 - 320)})
            QVERIFY2(PdfChecks::near(page.pixel(blank), Qt::white), qPrintable(QString::number(blank.y())));

        task = makeTask(writeTwoColourPng(in + "/scan.png", {600, 300}, 300), QStringLiteral("fit"));
        task.layoutSettings.pageSize = LayoutSettingsData::FitImage;
        const QString fit = convert(task, out);
        QCOMPARE(PdfChecks::pageSize(fit, 1).toSize(), QSize(144, 72));
        const QImage fitted = PdfChecks::render(fit, 72).value(0);
        QVERIFY(PdfChecks::near(fitted.pixel(2, 2), Qt::red) && PdfChecks::near(fitted.pixel(141, 69), Qt::blue));

        task.layoutSettings.rotate = 90;
        const QString turned = convert(task, out);
        QCOMPARE(PdfChecks::pageSize(turned, 1).toSize(), QSize(72, 144));
        // A clockwise quarter turn brings the picture's left (red) half to the top.
        const QImage upright = PdfChecks::render(turned, 72).value(0);
        QVERIFY(PdfChecks::near(upright.pixel(36, 5), Qt::red) && PdfChecks::near(upright.pixel(36, 138), Qt::blue));
    }

    // Twelve colour-coded TIFF pages through the program folder's image tool keep their order.
    void tiffPagesKeepTheirOrder()
    {
        const QString in = folder(QStringLiteral("tiff/in"));
        QStringList arguments = {QStringLiteral("-size"), QStringLiteral("60x40")};
        for (int page = 0; page < 12; ++page)
            arguments << QStringLiteral("xc:%1").arg(pageColour(page).name());
        // A name with the image tool's own directives in it: "%d" and "[1]" must be read as they stand.
        const QString tiff = in + QStringLiteral("/scan 100%d [1].tif");
        QCOMPARE(TestFiles::run(QStringLiteral("/usr/bin/convert"), arguments << in + QStringLiteral("/scan.tif")), 0);
        QVERIFY(QFile::rename(in + QStringLiteral("/scan.tif"), tiff));

        const QString pdf = convert(makeTask(tiff, QStringLiteral("scan")), folder(QStringLiteral("tiff/out")));
        QVERIFY(!pdf.isEmpty());
        const QList<QImage> pages = PdfChecks::render(pdf, 20);
        QCOMPARE(pages.size(), 12);
        for (int page = 0; page < 12; ++page) {
            const QImage& image = pages[page];
            QVERIFY2(PdfChecks::near(image.pixel(image.width() / 2, image.height() / 2), pageColour(page), 12),
                     qPrintable(QString::number(page)));
        }
    }

    // No blank PDF stands for a failure: an unreadable picture, a photo cut short, a cut-off
    // TIFF, a missing image tool, a TIFF whose image tool never ends and is stopped.
    void failuresLeaveNoFile()
    {
        const QString in = folder(QStringLiteral("fail/in"));
        const QString out = folder(QStringLiteral("fail/out"));
        TestFiles::writeFile(in + "/broken.png", "not a picture at all");
        QVERIFY(convert(makeTask(in + "/broken.png", QStringLiteral("broken")), out).isEmpty());
        const QString photo = writeTwoColourPng(in + "/photo.png", {800, 600}, 96);
        QVERIFY(QImage(photo).save(in + "/photo.jpg", "JPEG", 95));
        TestFiles::writeFile(in + "/photo.jpg", TestFiles::readFile(in + "/photo.jpg").left(3000));
        QVERIFY(convert(makeTask(in + "/photo.jpg", QStringLiteral("photo")), out).isEmpty());

        const QString tiff = in + "/page.tif";
        QCOMPARE(TestFiles::run(QStringLiteral("/usr/bin/convert"), {QStringLiteral("-size"), QStringLiteral("20x20"), QStringLiteral("xc:red"), tiff}), 0);
        // A TIFF cut off in its second page.
        const QString cut = in + "/cut.tif";
        QCOMPARE(TestFiles::run(QStringLiteral("/usr/bin/convert"), {"-size", "300x200", "xc:red", "plasma:", "-compress", "LZW", cut}), 0);
        const QByteArray whole = TestFiles::readFile(cut);
        TestFiles::writeFile(cut, whole.left(whole.size() * 3 / 4));
        QVERIFY(convert(makeTask(cut, QStringLiteral("cut")), out).isEmpty());

        qputenv(ToolPaths::environmentVariable(ToolPaths::Convert), QByteArray("/nonexistent/convert"));
        QVERIFY(convert(makeTask(tiff, QStringLiteral("missing")), out).isEmpty());

        qputenv(ToolPaths::environmentVariable(ToolPaths::Convert),
                PdfChecks::writeScript(in + "/hang", QStringLiteral("sleep 60")).toUtf8());
        QElapsedTimer clock;
        clock.start();
        ToPdfWorkerContext stoppable = m_context;
        stoppable.stopRequested = [&clock] { return clock.elapsed() > 200; };
        ToPDFWorkerTIFF worker(stoppable);
        QVERIFY(!worker.execute(makeTask(tiff, QStringLiteral("stopped")), 2, out));
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));

        QCOMPARE(TestFiles::entries(out), QStringList());
        // The work folders of the TIFF tasks are gone.
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()), QStringList());
    }

    // The e-book worker against a fake converter: its arguments, the request it reads, and the
    // outcome judged by exit code and target file.
    void ebookWorkerTalksToQuillbook()
    {
        const QString work = folder(QStringLiteral("ebook"));
        const QString out = folder(QStringLiteral("ebook/out"));
        const QString book = work + "/novel.EPUB";
        TestFiles::writeFile(book, "PK book");
        const QString sample = work + "/sample.pdf";
        {
            DebenuDocument document(m_service);
            QVERIFY(document.save(sample));
        }
        // Writes its arguments and a copy of the request beside itself, then the PDF at the target.
        const QString fake = PdfChecks::writeScript(
            work + "/quillbook",
            QStringLiteral("printf '%s\\n' \"$@\" > '%1/args.txt'\ncp \"$2\" '%1/request.json'\n"
                           "echo '{}' > \"${2%%.req}.resp\"\n"
                           "[ -f '%1/no-output' ] || cp '%2' \"$6\"\necho \"Why: $(cat '%1/exit-code' 2>/dev/null)\" >&2\n"
                           "exit $(cat '%1/exit-code' 2>/dev/null || echo 0)")
                .arg(work, sample));
        qputenv(ToolPaths::environmentVariable(ToolPaths::QuillBook), fake.toUtf8());

        ToPDFTask task = makeTask(book, QStringLiteral("novel"));
        task.fileSettings = {QStringLiteral("novel"), QStringLiteral("A Title"), QStringLiteral("Pub"), QString()};
        task.layoutSettings.pageSize = LayoutSettingsData::FitImage;
        task.layoutSettings.margin = LayoutSettingsData::Big;
        task.layoutSettings.orientation = LayoutSettingsData::Landscape;
        QCOMPARE(convert(task, out), QDir::toNativeSeparators(out + "/novel.pdf"));
        // The request (it would hold the password) and quillbook's response go with the task.
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()), QStringList());

        const QStringList args = QString::fromUtf8(TestFiles::readFile(work + "/args.txt")).trimmed().split('\n');
        QCOMPARE(args.size(), 6);
        QCOMPARE(args[0], QStringLiteral("--o"));
        QVERIFY2(args[1].startsWith(QDir::toNativeSeparators(FileSystem::cachePath())) && args[1].endsWith(".req"), qPrintable(args[1]));
        QCOMPARE(args.mid(2), QStringList({"--s", book, "--t", QDir::toNativeSeparators(out + "/novel.pdf")}));
        const QJsonObject request = QJsonDocument::fromJson(TestFiles::readFile(work + "/request.json")).object();
        QCOMPARE(request.value("margin").toVariant(), QVariant(20));
        QVERIFY(request.value("margin").isDouble());
        QCOMPARE(request.value("page_size").toString(), QStringLiteral("A4"));
        QCOMPARE(request.value("page_orientation").toString(), QStringLiteral("landscape"));
        QCOMPARE(request.value("format").toString(), QStringLiteral("EPUB"));
        QCOMPARE(request.value("property_title").toString(), QStringLiteral("A Title"));
        QCOMPARE(request.value("property_author").toString(), QStringLiteral("Pub"));
        QCOMPARE(request.value("property_creator").toString(), QStringLiteral("Zembrook PDF Converter"));
        QCOMPARE(request.value("file_id").toString().size(), 32);
        QVERIFY(!args[1].contains(request.value("file_id").toString()));

        task.layoutSettings.pageSize = LayoutSettingsData::B5;
        task.layoutSettings.margin = LayoutSettingsData::NoMargin;
        QCOMPARE(ToPDFWorkerEbook::request(task).value("page_size").toString(), QStringLiteral("B5"));
        QCOMPARE(ToPDFWorkerEbook::request(task).value("margin").toVariant(), QVariant(0));

        // Exit code 0 without a file, or a file with an error code: the task fails and leaves nothing.
        TestFiles::writeFile(work + "/no-output", "");
        QVERIFY(convert(task, out).isEmpty());
        QFile::remove(work + "/no-output");
        TestFiles::writeFile(work + "/exit-code", "7");
        QVERIFY(convert(task, out).isEmpty());
        QCOMPARE(TestFiles::entries(out), QStringList({"novel.pdf"}));
        // A failed run logs what quillbook wrote.
        QVERIFY(TestFiles::readFile(Logger::instance()->filePath()).contains("Why: 7"));
    }
};

QTEST_GUILESS_MAIN(ToPdfWorkersTest)
#include "test_topdfworkers.moc"
