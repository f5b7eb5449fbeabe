#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "frompdf/engine/PageImageExport.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/support/TestFiles.h"

#include <QImageReader>
#include <QtTest>

#include <ctime>

namespace {

FromPDFTask taskFor(const QString& path, const QString& format, const PageRangeList& ranges, bool split)
{
    FromPDFTask task;
    task.file = QFileInfo(path);
    task.format = format;
    task.ranges = ranges;
    task.split = split;
    return task;
}

QSize imageSize(const QString& path)
{
    QImageReader reader(path);
    return reader.size();
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

class PageImageExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        m_root = TestFiles::sandbox() + QStringLiteral("/images");
        m_pdf = m_root + QStringLiteral("/in/Book.pdf");
        QVERIFY(TestPdfs::writeTextPdf(m_pdf, TestPdfs::numberedPages(12)));
        m_service.reset(new DebenuService);
    }

    void cleanup() { qunsetenv(ToolPaths::environmentVariable(ToolPaths::Convert)); }

    // The library's codes, found without regard to case; a name of no render format has none.
    void formatTable()
    {
        const QStringList formats = {"bmp", "jpg", "wmf", "emf", "eps", "png", "gif", "tiff", "html", "PNG", "docx", "xyz", ""};
        QVector<int> codes;
        for (const QString& format : formats)
            codes << PageImageExport::renderFormat(format);
        QCOMPARE(codes, QVector<int>({0, 1, 2, 3, 4, 5, 6, 7, 9, 5, -1, -1, -1}));
    }

    // A format the library does not render is an error, not JPEG pages under that suffix.
    void unknownFormatWritesNothing()
    {
        const QString out = m_root + QStringLiteral("/unknown");
        QDir().mkpath(out);
        PageImageExport exporter(m_service, nullptr);
        exporter.setImageQuality(ImageQuality::Low);
        QSignalSpy pages(&exporter, &PageImageExport::pageFinished);
        for (bool split : {true, false}) {
            QCOMPARE(exporter.exportTask(taskFor(m_pdf, "xyz", {{1, 2}}, split), out), int(PageImageExport::UnknownFormat));
            QCOMPARE(exporter.exportTask(taskFor(m_pdf, "docx", {{1, 2}}, split), out), int(PageImageExport::UnknownFormat));
        }
        QVERIFY(TestFiles::entries(out).isEmpty());
        QVERIFY(exporter.lastOutput().isEmpty());
        QCOMPARE(pages.count(), 0);
    }

    // One file per page in every format: zero-padded names, each page once, files readable.
    void onePerPageInEveryFormat_data()
    {
        QTest::addColumn<QString>("format");
        for (const char* format : {"jpg", "png", "bmp", "tiff", "gif", "eps", "wmf"})
            QTest::newRow(format) << QString::fromLatin1(format);
    }

    void onePerPageInEveryFormat()
    {
        QFETCH(QString, format);
        const QString out = m_root + QStringLiteral("/pages-") + format;
        QDir().mkpath(out);
        PageImageExport exporter(m_service, nullptr);
        exporter.setImageQuality(ImageQuality::Low);
        QSignalSpy pages(&exporter, &PageImageExport::pageFinished);
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, format, {{1, 3}, {9, 12}, {2, 3}}, true), out), 0);

        QStringList expected;
        for (int page : {1, 2, 3, 9, 10, 11, 12})
            expected << QStringLiteral("Book_%1.%2").arg(page, 2, 10, QLatin1Char('0')).arg(format);
        QCOMPARE(TestFiles::entries(out), expected);
        QCOMPARE(pages.count(), 7);
        QCOMPARE(QFileInfo(exporter.lastOutput()).fileName(), expected.last());

        for (const QString& name : expected) {
            const QString path = out + QLatin1Char('/') + name;
            const QByteArray head = TestFiles::readFile(path).left(32);
            if (format == QLatin1String("eps")) {
                QVERIFY2(head.startsWith("%!PS-Adobe-3.0 EPSF") || head.startsWith("\xC5\xD0\xD3\xC6"), head.constData());
            } else if (format == QLatin1String("wmf")) {
                QVERIFY(head.startsWith("\xD7\xCD\xC6\x9A") || head.startsWith(QByteArray("\x01\x00\x09\x00", 4)));
            } else {
                QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(name));
                QCOMPARE(image.width(), 595); // A4 at 72 dpi
            }
        }
    }

    // Joined images: ranges (1, 3) and (7, 7) give Book_1-3 and Book_7; a 12-page range at
    // 300 dpi joins into one tall image.
    void joinsEachRange()
    {
        const QString out = m_root + QStringLiteral("/joined");
        QDir().mkpath(out);
        PageImageExport exporter(m_service, nullptr);
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "jpg", {{1, 3}, {7, 7}}, false), out), 0);
        QCOMPARE(TestFiles::entries(out), QStringList({"Book_1-3.jpg", "Book_7.jpg"}));
        const QSize page = imageSize(out + "/Book_7.jpg");
        QCOMPARE(page.width(), 1240); // A4 at 150 dpi
        QVERIFY(qAbs(page.height() - 1754) <= 1);
        QCOMPARE(imageSize(out + "/Book_1-3.jpg"), QSize(page.width(), 3 * page.height()));

        const QString tall = m_root + QStringLiteral("/tall");
        QDir().mkpath(tall);
        RecordingProgress progress;
        PageImageExport big(m_service, &progress);
        big.setImageQuality(ImageQuality::High);
        big.setRunPages(12);
        QCOMPARE(big.exportTask(taskFor(m_pdf, "png", {{1, 12}}, false), tall), 0);
        QCOMPARE(TestFiles::entries(tall), QStringList({"Book_1-12.png"}));
        const QSize tallSize = imageSize(tall + "/Book_1-12.png");
        QCOMPARE(tallSize.width(), 2480);
        QVERIFY(qAbs(tallSize.height() - 12 * 3508) <= 12);
        // The join shows a busy display, then hands the run its page range back.
        const QStringList calls = progress.calls();
        QCOMPARE(calls.mid(calls.indexOf("text Merge images...") - 3),
                 QStringList({"min 0", "max 0", "value 0", "text Merge images...", "min 0", "max 12"}));
        // Page order: the first page's number sits at the top, the last one's at the bottom.
        QImage joined(tall + "/Book_1-12.png");
        QVERIFY(!joined.isNull());
        const int pageHeight = tallSize.height() / 12;
        QVERIFY(joined.copy(0, 0, 2480, pageHeight) != joined.copy(0, 11 * pageHeight, 2480, pageHeight));
        QVERIFY(TestFiles::entries(FileSystem::cachePath()).isEmpty());
    }

    // A pause while a range renders waits, without spending processor time, and the range still
    // ends with its joined image.
    void pauseWaitsAndTheRangeStillJoins()
    {
        const QString out = m_root + QStringLiteral("/paused");
        QDir().mkpath(out);
        RecordingProgress progress;
        int finishedPages = 0;
        PageImageExport exporter(m_service, &progress);
        exporter.setImageQuality(ImageQuality::Low);
        connect(&exporter, &PageImageExport::pageFinished, [&] {
            if (++finishedPages == 2)
                progress.paused = true;
        });
        QThread* resumer = QThread::create([&] {
            while (!progress.paused)
                QThread::msleep(5);
            QThread::msleep(600);
            progress.paused = false;
        });
        resumer->start();
        const double cpuBefore = threadCpuSeconds();
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{1, 4}}, false), out), 0);
        const double cpuSpent = threadCpuSeconds() - cpuBefore;
        resumer->wait();
        delete resumer;
        QCOMPARE(TestFiles::entries(out), QStringList({"Book_1-4.png"}));
        const QSize size = imageSize(out + "/Book_1-4.png");
        QCOMPARE(size.width(), 595);
        QVERIFY(qAbs(size.height() - 4 * 842) <= 4);
        QVERIFY2(progress.polls < 100, qPrintable(QString::number(progress.polls)));
        QVERIFY2(cpuSpent < 0.45, qPrintable(QString::number(cpuSpent)));
    }

    // A stop ends the range without an image and leaves no work files behind.
    void stopLeavesNoImage()
    {
        const QString out = m_root + QStringLiteral("/stopped");
        QDir().mkpath(out);
        RecordingProgress progress;
        PageImageExport exporter(m_service, &progress);
        exporter.setImageQuality(ImageQuality::Low);
        int finishedPages = 0;
        connect(&exporter, &PageImageExport::pageFinished, [&] {
            if (++finishedPages == 2)
                progress.stopped = true;
        });
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{1, 4}, {6, 6}}, false), out), 0);
        QCOMPARE(finishedPages, 2);
        QVERIFY(TestFiles::entries(out).isEmpty());
        QVERIFY(exporter.lastOutput().isEmpty());
        QVERIFY(TestFiles::entries(FileSystem::cachePath()).isEmpty());
    }

    void failures()
    {
        const QString out = m_root + QStringLiteral("/failures");
        QDir().mkpath(out);
        // The image tool fails: 903, and its work files are gone.
        qputenv(ToolPaths::environmentVariable(ToolPaths::Convert), "/bin/false");
        PageImageExport exporter(m_service, nullptr);
        exporter.setImageQuality(ImageQuality::Low);
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{1, 2}}, false), out), 903);
        QVERIFY(TestFiles::entries(FileSystem::cachePath()).isEmpty());
        // The tool leaves an empty file, failing (as on a JPEG beyond 65500 pixels) or not: no
        // file is left in the output folder either.
        for (const char* exit : {"1", "0"}) {
            const QString tool = m_root + QStringLiteral("/empty-convert.sh");
            QVERIFY(TestFiles::writeFile(tool, QByteArray("#!/bin/sh\nfor last; do :; done\n: > \"$last\"\nexit ") + exit + "\n"));
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv(ToolPaths::environmentVariable(ToolPaths::Convert), tool.toUtf8());
            QCOMPARE(exporter.exportTask(taskFor(m_pdf, "jpg", {{1, 2}}, false), out), 903);
            QCOMPARE(TestFiles::entries(out), QStringList());
        }
        qunsetenv(ToolPaths::environmentVariable(ToolPaths::Convert));

        // A page beyond the document: 901 in one-file-per-page mode, the pages before it written.
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{11, 13}}, true), out), 901);
        QCOMPARE(TestFiles::entries(out), QStringList({"Book_11.png", "Book_12.png"}));
        // In joined mode the good pages still join.
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{12, 13}}, false), out), 901);
        QVERIFY(TestFiles::entries(out).contains(QStringLiteral("Book_12-13.png")));

        // A file that does not open: nothing, and no error.
        QCOMPARE(exporter.exportTask(taskFor(m_root + "/missing.pdf", "png", {{1, 1}}, true), out), 0);

        // An existing name gets a counter in front.
        QCOMPARE(exporter.exportTask(taskFor(m_pdf, "png", {{11, 11}}, true), out), 0);
        QVERIFY(TestFiles::entries(out).contains(QStringLiteral("(1)Book_11.png")));
    }

    // A "%1" or "%2" in the source's name stays in every output name.
    void percentNamesStayAsTheyAre()
    {
        const QString out = m_root + QStringLiteral("/percent");
        QDir().mkpath(out);
        const QString source = m_root + QStringLiteral("/in/100%2 %1.pdf");
        QVERIFY(QFile::copy(m_pdf, source));
        PageImageExport exporter(m_service, nullptr);
        exporter.setImageQuality(ImageQuality::Low);
        QCOMPARE(exporter.exportTask(taskFor(source, "png", {{1, 2}}, true), out), 0);
        QCOMPARE(exporter.exportTask(taskFor(source, "png", {{1, 2}}, false), out), 0);
        QCOMPARE(exporter.exportTask(taskFor(source, "png", {{2, 2}}, true), out), 0);
        QCOMPARE(TestFiles::entries(out), QStringList({"(1)100%2 %1_2.png", "100%2 %1_1-2.png", "100%2 %1_1.png",
                                                       "100%2 %1_2.png"}));
    }

private:
    QString m_root;
    QString m_pdf;
    QSharedPointer<DebenuService> m_service;
};

QTEST_MAIN(PageImageExportTest)
#include "test_pageimageexport.moc"
