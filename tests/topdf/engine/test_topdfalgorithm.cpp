#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "app/core/UserContext.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "services/metrics/UsageStatistics.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/quillbook/BookFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/topdf/support/PdfChecks.h"
#include "topdf/engine/ToPDFAlgorithm.h"

#include <QThread>
#include <QtTest>

namespace {

QString folder(const QString& name)
{
    const QString path = TestFiles::sandbox() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

QString writePng(const QString& path, const QColor& colour)
{
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

ToPDFTask makeTask(const QString& path)
{
    ToPDFTask task;
    task.file = QFileInfo(path);
    task.fileSettings.fileName = task.file.completeBaseName();
    return task;
}

QList<ToPDFTask> makeTasks(const QStringList& paths)
{
    QList<ToPDFTask> tasks;
    for (const QString& path : paths)
        tasks << makeTask(path);
    return tasks;
}

QStringList pdfsIn(const QString& path)
{
    return TestFiles::entries(path).filter(QStringLiteral(".pdf"));
}

} // namespace

class ToPdfAlgorithmTest : public QObject
{
    Q_OBJECT

    QSharedPointer<DebenuService> m_service;
    UserContext m_context;
    QString m_in;
    QStringList m_colours; // red, green and blue pictures
    QString m_broken;      // a ".png" that is no picture

    ToPdfRunResult run(const QList<ToPDFTask>& tasks, const QString& outputFolder, bool merge = false,
                       const FileSettingsData& general = FileSettingsData(), RecordingProgress* progress = nullptr)
    {
        RecordingProgress own;
        ToPDFAlgorithm algorithm(m_service, progress ? progress : &own, &m_context);
        algorithm.setTasks(tasks);
        algorithm.setOutputFolder(outputFolder);
        algorithm.setMerge(merge);
        algorithm.setFileSettings(general);
        algorithm.run();
        return algorithm.result();
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("zembrook.com"));
        m_service = QSharedPointer<DebenuService>::create();
        m_in = folder(QStringLiteral("in"));
        m_colours = QStringList{writePng(m_in + "/red.png", Qt::red), writePng(m_in + "/green.png", Qt::green),
                                writePng(m_in + "/blue.png", Qt::blue)};
        m_broken = m_in + "/broken.png";
        TestFiles::writeFile(m_broken, "no picture here");
    }

    void cleanup()
    {
        qunsetenv(ToolPaths::environmentVariable(ToolPaths::QuillWeb));
        // Every run leaves the cache folder as it found it.
        QCOMPARE(TestFiles::entries(FileSystem::cachePath()), QStringList());
    }

    void progressFollowsEachTask()
    {
        const QString out = folder(QStringLiteral("three"));
        RecordingProgress progress;
        const ToPdfRunResult result = run(makeTasks(m_colours), out, false, {}, &progress);
        QCOMPARE(progress.calls(), QStringList({"min 1", "max 3", "text 1 of 3 converting", "value 1",
                                                "text 2 of 3 converting", "value 2", "text 3 of 3 converting",
                                                "value 3"}));
        QCOMPARE(pdfsIn(out), QStringList({"blue.pdf", "green.pdf", "red.pdf"}));
        QCOMPARE(result.taskCount, 3);
        QCOMPARE(result.failedCount, 0);
        QCOMPARE(result.lastFile, QDir::toNativeSeparators(out + "/blue.pdf"));
        QCOMPARE(m_context.lastConvertedFile(UserContext::ToPdf), result.lastFile);
        QCOMPARE(startWorkflow(), QStringLiteral("frompng"));
    }

    // Stop pressed while task 2's outside program runs: it is ended at once, and tasks 3 to 5
    // never start.
    void stopDuringTaskTwoEndsItsProgram()
    {
        const QString work = folder(QStringLiteral("stop"));
        const QString sample = work + "/sample.pdf";
        {
            DebenuDocument document(m_service);
            QVERIFY(document.save(sample));
        }
        const QString fake = PdfChecks::writeScript(
            work + "/quillweb",
            QStringLiteral("echo \"$1\" >> '%1/calls.txt'\ncase \"$1\" in *page2*) sleep 60 ;; esac\ncp '%2' \"$2\"").arg(work, sample));
        qputenv(ToolPaths::environmentVariable(ToolPaths::QuillWeb), fake.toUtf8());
        QStringList pages;
        for (int i = 1; i <= 5; ++i) {
            pages << work + QStringLiteral("/page%1.html").arg(i);
            TestFiles::writeFile(pages.last(), "<p>page</p>");
        }

        const QString out = folder(QStringLiteral("stop/out"));
        RecordingProgress progress;
        ToPdfRunResult result;
        QThread* thread = QThread::create([&] { result = run(makeTasks(pages), out, false, {}, &progress); });
        thread->start();
        QTRY_COMPARE_WITH_TIMEOUT(TestFiles::readFile(work + "/calls.txt").count('\n'), 2, 20000);
        QElapsedTimer clock;
        clock.start();
        progress.stop();
        QVERIFY(thread->wait(5000));
        delete thread;
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(TestFiles::readFile(work + "/calls.txt").count('\n'), 2);
        QCOMPARE(pdfsIn(out), QStringList({"page1.pdf"}));
        QVERIFY(!progress.calls().contains(QStringLiteral("text 3 of 5 converting")));
        QVERIFY(result.stopped);
        QCOMPARE(result.failedCount, 0);
    }

    // Into a folder that cannot be written (the tab asks before a run; here the run is on its
    // own): pictures and a web page (whose PDF another program makes) fail, one by one and
    // merged, and none of their PDFs stays behind in the cache folder.
    void unwritableFolderLeavesNothing()
    {
        const QString work = folder(QStringLiteral("unwritable"));
        const QString sample = work + "/sample.pdf";
        {
            DebenuDocument document(m_service);
            QVERIFY(document.save(sample));
        }
        qputenv(ToolPaths::environmentVariable(ToolPaths::QuillWeb),
                PdfChecks::writeScript(work + "/quillweb", QStringLiteral("cp '%1' \"$2\"").arg(sample)).toUtf8());
        TestFiles::writeFile(work + "/page.html", "<p>page</p>");
        const QList<ToPDFTask> tasks = makeTasks({m_colours.at(0), work + "/page.html"});
        for (bool merge : {false, true}) {
            const ToPdfRunResult result = run(tasks, QStringLiteral("/proc"), merge, {QStringLiteral("all"), {}, {}, {}});
            QCOMPARE(result.failedCount, merge ? 0 : 2);
            QCOMPARE(result.mergeFailed, merge);
            QCOMPARE(result.lastFile, QString());
            QCOMPARE(TestFiles::entries(FileSystem::cachePath()), QStringList());
        }
    }

    // Two pictures and a book (through quillbook) into one PDF with the general title, publisher
    // and password.
    void mergeMakesOneEncryptedPdf()
    {
        const QString out = folder(QStringLiteral("merge"));
        const QString book = m_in + "/book.epub";
        QVERIFY(BookFiles::writeZip(book, BookFiles::epub({{"one.xhtml", "<h1>Harbour tales</h1><p>The keeper sang.</p>"}})));
        const FileSettingsData general{QStringLiteral("album"), QStringLiteral("Holiday"), QStringLiteral("Quill House"),
                                       QStringLiteral("pass word")};
        const ToPdfRunResult result = run(makeTasks({m_colours[0], book, m_colours[2]}), out, true, general);
        QCOMPARE(pdfsIn(out), QStringList({"album.pdf"}));
        const QString album = out + "/album.pdf";
        QCOMPARE(result.lastFile, QDir::toNativeSeparators(album));
        QCOMPARE(PdfChecks::pageCount(album), -1);
        const QMap<QString, QString> info = PdfChecks::info(album, QStringLiteral("pass word"));
        QCOMPARE(info.value("Pages"), QStringLiteral("3"));
        QCOMPARE(info.value("Title"), QStringLiteral("Holiday"));
        QCOMPARE(info.value("Author"), QStringLiteral("Quill House"));
        QCOMPARE(info.value("Producer"), QStringLiteral("Quill House"));
        QCOMPARE(info.value("Creator"), QStringLiteral("Zembrook PDF Converter (https://zembrook.com)"));
        QByteArray encryption;
        TestFiles::run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), QStringLiteral("--password=pass word"), album},
                       &encryption);
        for (const char* line : {"User password = pass word", "file encryption method: AESv2", "modify anything: allowed"})
            QVERIFY2(encryption.contains(line), encryption.constData());
        QByteArray text;
        TestFiles::run(QStringLiteral("pdftotext"), {QStringLiteral("-upw"), QStringLiteral("pass word"), album, QStringLiteral("-")}, &text);
        QVERIFY2(text.contains("The keeper sang."), text.constData());
    }

    // One of three fails: the other two are merged (next to an older merged file); with only one
    // success, that file becomes the merged file with the general properties.
    void mergeSkipsFailedTasks()
    {
        const QString out = folder(QStringLiteral("partial"));
        TestFiles::writeFile(out + "/album.pdf", "an older album");
        const FileSettingsData general{QStringLiteral("album"), QStringLiteral("Two"), {}, {}};
        ToPdfRunResult result = run(makeTasks({m_colours[0], m_broken, m_colours[2]}), out, true, general);
        QCOMPARE(result.failedCount, 1);
        QVERIFY(!result.mergeFailed);
        QCOMPARE(pdfsIn(out), QStringList({"(1)album.pdf", "album.pdf"}));
        const QList<QImage> pages = PdfChecks::render(out + "/(1)album.pdf", 10);
        QCOMPARE(pages.size(), 2);
        QVERIFY(PdfChecks::near(pages[0].pixel(pages[0].width() / 2, pages[0].height() / 2), Qt::red));
        QVERIFY(PdfChecks::near(pages[1].pixel(pages[1].width() / 2, pages[1].height() / 2), Qt::blue));

        const FileSettingsData single{QStringLiteral("single"), QStringLiteral("Only"), {}, QStringLiteral("pw")};
        result = run(makeTasks({m_broken, m_colours[1]}), out, true, single);
        QCOMPARE(result.failedCount, 1);
        QCOMPARE(PdfChecks::info(out + "/single.pdf", QStringLiteral("pw")).value("Title"), QStringLiteral("Only"));
        QCOMPARE(PdfChecks::pageCount(out + "/single.pdf", QStringLiteral("pw")), 1);
    }

    // The merged file cannot be saved (its name is too long): the converted parts are kept in the
    // output folder under their own names, and the run says so.
    void failedMergeKeepsTheParts()
    {
        const QString out = folder(QStringLiteral("kept"));
        const FileSettingsData general{QString(300, QLatin1Char('x')), {}, {}, {}};
        const ToPdfRunResult result = run(makeTasks(m_colours.mid(0, 2)), out, true, general);
        QVERIFY(result.mergeFailed);
        QCOMPARE(result.failedCount, 0);
        QCOMPARE(pdfsIn(out), QStringList({"green.pdf", "red.pdf"}));
        QCOMPARE(result.lastFile, QDir::toNativeSeparators(out + "/green.pdf"));
        QCOMPARE(PdfChecks::pageCount(out + "/red.pdf"), 1);
    }
};

QTEST_GUILESS_MAIN(ToPdfAlgorithmTest)
#include "test_topdfalgorithm.moc"
