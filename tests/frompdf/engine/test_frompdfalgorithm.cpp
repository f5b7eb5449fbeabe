#include "app/core/FileSystem.h"
#include "app/core/ToolPaths.h"
#include "app/core/UserContext.h"
#include "frompdf/check/CheckController.h"
#include "frompdf/engine/FromPdfAlgorithm.h"
#include "frompdf/engine/RangeExtraction.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "platform/pdf2word/component/Pdf2WordRegistration.h"
#include "services/metrics/MetricSender.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/frompdf/engine/RecordingProgress.h"
#include "tests/frompdf/word/RecordingPdf2Word.h"
#include "tests/platform/pdf2word/DocumentPdfs.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestFiles.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

FromPDFTask makeTask(const QString& path, const QString& format, const PageRangeList& ranges, int pageCount,
                     bool split = false)
{
    FromPDFTask task;
    task.file = QFileInfo(path);
    task.format = format;
    task.ranges = ranges;
    task.pageCount = pageCount;
    task.split = split;
    return task;
}

// The values a recording progress was given, in order, and the last call starting with prefix.
QList<int> progressValues(const RecordingProgress& progress)
{
    QList<int> values;
    for (const QString& call : progress.calls()) {
        if (call.startsWith(QLatin1String("value ")))
            values << call.mid(6).toInt();
    }
    return values;
}

QString lastCall(const RecordingProgress& progress, const QString& prefix)
{
    const QStringList calls = progress.calls().filter(QRegularExpression(QLatin1Char('^') + prefix));
    return calls.isEmpty() ? QString() : calls.last();
}

int pdfPages(const QString& path)
{
    QByteArray out;
    TestFiles::run(QStringLiteral("pdfinfo"), {path}, &out);
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(out));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Answers the scanned-PDF question on the GUI thread, as the tab does.
class Responder : public QObject
{
    Q_OBJECT
public:
    Responder(CheckController& controller, bool useOcr, bool applyToAll)
        : m_controller(controller)
        , m_useOcr(useOcr)
        , m_applyToAll(applyToAll)
    {
        connect(&controller, &CheckController::requestForScanned, this, &Responder::answer, Qt::BlockingQueuedConnection);
    }
    QStringList asked;

public slots:
    void answer()
    {
        asked << m_controller.fileName();
        m_controller.setUseOcr(m_useOcr);
        m_controller.setApplyToAll(m_applyToAll);
        m_controller.setState(0);
    }

private:
    CheckController& m_controller;
    bool m_useOcr;
    bool m_applyToAll;
};

} // namespace

class FromPdfAlgorithmTest : public QObject
{
    Q_OBJECT

    QSharedPointer<DebenuService> m_service;
    CheckController m_controller;
    UserContext m_context;
    LocalHttpServer m_metrics;
    QString m_one;    // 1 page
    QString m_ten;    // 10 pages
    QString m_report; // 2 pages with a heading and a picture

    FromPdfAlgorithm::Host host() { return {&m_controller, &m_context, {}, {}}; }

    void runTasks(const FromPDFTaskList& tasks, const QString& outputFolder, IProgress* progress = nullptr,
                  int saveMode = 2)
    {
        FromPdfAlgorithm algorithm(m_service, progress, host());
        algorithm.setTasks(tasks);
        algorithm.setSaveMode(saveMode, outputFolder);
        algorithm.run();
    }

    // Runs on a thread of its own, as the tab does, so that the question can block it.
    void runOnThread(const FromPDFTaskList& tasks, const QString& outputFolder, IProgress* progress = nullptr)
    {
        QThread thread;
        auto* algorithm = new FromPdfAlgorithm(m_service, progress, host());
        algorithm->setTasks(tasks);
        algorithm->setSaveMode(2, outputFolder);
        algorithm->moveToThread(&thread);
        connect(&thread, &QThread::started, algorithm, &FromPdfAlgorithm::run);
        connect(algorithm, &FromPdfAlgorithm::finished, &thread, &QThread::quit);
        connect(algorithm, &FromPdfAlgorithm::finished, algorithm, &QObject::deleteLater);
        QSignalSpy finished(&thread, &QThread::finished);
        thread.start();
        QVERIFY(finished.wait(120000));
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QVERIFY(m_metrics.listen());
        MetricSender::setEndpoint(m_metrics.url());
        MetricSender::setEnabled(true);
        m_service = QSharedPointer<DebenuService>::create();
        const QString in = TestFiles::sandboxFolder(QStringLiteral("in"));
        m_one = in + QStringLiteral("/B.pdf");
        m_ten = in + QStringLiteral("/Ten.pdf");
        m_report = in + QStringLiteral("/report.pdf");
        QVERIFY(TestPdfs::writeTextPdf(m_one, TestPdfs::numberedPages(1)));
        QVERIFY(TestPdfs::writeTextPdf(m_ten, TestPdfs::numberedPages(10)));
        QVERIFY(DocumentPdfs::writeReportPdf(m_report));
    }

    void init()
    {
        RecordingPdf2Word::install();
    }

    void namesOutputsByRanges()
    {
        // The fake notes the page count of the file it is given.
        QStringList sources;
        RecordingPdf2Word::setScript([&](RecordingPdf2Word& component, RecordingPdf2Word::Call& call) {
            sources << QStringLiteral("%1:%2").arg(QFileInfo(call.source).fileName()).arg(pdfPages(call.source));
            return RecordingPdf2Word::convertPages(component, call);
        });
        const QString out = TestFiles::sandboxFolder(QStringLiteral("names"));
        const PageRangeList twoRanges = {{2, 2}, {5, 7}};
        runTasks({makeTask(m_one, QStringLiteral("docx"), {{1, 1}}, 1), makeTask(m_ten, QStringLiteral("docx"), {{1, 10}}, 10),
                  makeTask(m_ten, QStringLiteral("rtf"), twoRanges, 10), makeTask(m_ten, QStringLiteral("odt"), twoRanges, 10, true)},
                 out);
        QCOMPARE(TestFiles::entries(out), (QStringList{"B.docx", "Ten_1-10.docx", "Ten_1-4.rtf", "Ten_2.odt", "Ten_5-7.odt"}));
        // The two ranges joined: a four-page work file, converted whole and removed afterwards.
        QCOMPARE(sources.size(), 5);
        QVERIFY(sources[2].endsWith(QLatin1String(".pdf:4")));
        QVERIFY(!sources[2].startsWith(QLatin1String("Ten")));
        QVERIFY(!QFile::exists(RecordingPdf2Word::calls()[2].source));
        QCOMPARE(RecordingPdf2Word::calls()[2].first, 1);
        QCOMPARE(RecordingPdf2Word::calls()[2].last, 4);
        QCOMPARE(sources[3], QStringLiteral("Ten.pdf:10"));
        QCOMPARE(m_context.lastConvertedFile(UserContext::FromPdf), QDir::toNativeSeparators(out + QStringLiteral("/Ten_5-7.odt")));
    }

    void existingNamesGetACounterAndModeZeroMakesTheFolder()
    {
        const QString in = TestFiles::sandboxFolder(QStringLiteral("modes"));
        QFile::copy(m_one, in + QStringLiteral("/report.pdf"));
        const FromPDFTask task = makeTask(in + QStringLiteral("/report.pdf"), QStringLiteral("docx"), {{1, 1}}, 1);
        runTasks({task}, QString(), nullptr, 0);
        runTasks({task}, QString(), nullptr, 0);
        runTasks({task}, QString(), nullptr, 0);
        QCOMPARE(TestFiles::entries(in + QStringLiteral("/report")), (QStringList{"(1)report.docx", "(2)report.docx", "report.docx"}));
        runTasks({task}, QString(), nullptr, 1);
        QVERIFY(QFile::exists(in + QStringLiteral("/report.docx")));
    }

    // A "%1" or "%2" in the source's name stays in every output name and folder.
    void percentNamesStayAsTheyAre()
    {
        const QString in = TestFiles::sandboxFolder(QStringLiteral("percent"));
        const QString ten = in + QStringLiteral("/100%2.pdf");
        const QString one = in + QStringLiteral("/%1 draft.pdf");
        QVERIFY(QFile::copy(m_ten, ten) && QFile::copy(m_one, one));
        const QString out = TestFiles::sandboxFolder(QStringLiteral("percent-out"));
        runTasks({makeTask(ten, QStringLiteral("docx"), {{1, 10}}, 10), makeTask(ten, QStringLiteral("odt"), {{3, 3}}, 10, true),
                  makeTask(one, QStringLiteral("txt"), {{1, 1}}, 1)},
                 out);
        QCOMPARE(TestFiles::entries(out), (QStringList{"%1 draft.txt", "100%2_1-10.docx", "100%2_3.odt"}));
        runTasks({makeTask(one, QStringLiteral("docx"), {{1, 1}}, 1)}, QString(), nullptr, 0);
        QCOMPARE(TestFiles::entries(in + QStringLiteral("/%1 draft")), QStringList{"%1 draft.docx"});
    }

    void wordStatusFiveIsRetriedOnceInModeTwo()
    {
        const QString out = TestFiles::sandboxFolder(QStringLiteral("retry"));
        RecordingPdf2Word::setScript([](RecordingPdf2Word& component, RecordingPdf2Word::Call& call) {
            return call.mode == 2 ? RecordingPdf2Word::convertPages(component, call) : HRESULT(PDF2WORD_E_LAYOUT_TEXT);
        });
        runTasks({makeTask(m_one, QStringLiteral("docx"), {{1, 1}}, 1)}, out);
        QCOMPARE(RecordingPdf2Word::calls().size(), 2);
        QCOMPARE(RecordingPdf2Word::calls()[1].mode, 2);
        QCOMPARE(TestFiles::entries(out), QStringList{"B.docx"});

        m_metrics.clearRecords();
        RecordingPdf2Word::install();
        RecordingPdf2Word::setScript([](RecordingPdf2Word&, RecordingPdf2Word::Call&) { return HRESULT(PDF2WORD_E_LAYOUT_WRITER); });
        m_context.setLastConvertedFile(UserContext::FromPdf, QStringLiteral("before"));
        runTasks({makeTask(m_one, QStringLiteral("doc"), {{1, 1}}, 1)}, TestFiles::sandboxFolder(QStringLiteral("retry-failed")));
        QCOMPARE(RecordingPdf2Word::calls().size(), 2);
        QCOMPARE(m_context.lastConvertedFile(UserContext::FromPdf), QString());
        QTRY_VERIFY(m_metrics.targets().join(QLatin1Char(' ')).contains(QLatin1String("err1:todoc:703")));
    }

    void encryptedSourcesAreConvertedFromADecryptedCopy()
    {
        const QString locked = TestFiles::sandboxFolder(QStringLiteral("locked")) + QStringLiteral("/Locked.pdf");
        QVERIFY(TestPdfs::encryptPdf(m_ten, locked, QStringLiteral("pw"), QStringLiteral("owner")));
        FromPDFTask task = makeTask(locked, QStringLiteral("docx"), {{1, 2}, {4, 4}}, 10, true);
        task.passwordRequired = true;
        task.encrypted = true;
        task.password = QStringLiteral("pw");
        runTasks({task}, TestFiles::sandboxFolder(QStringLiteral("locked-out")));
        const QList<RecordingPdf2Word::Call> calls = RecordingPdf2Word::calls();
        QCOMPARE(calls.size(), 2);
        for (const RecordingPdf2Word::Call& call : calls) {
            QVERIFY(call.source != locked);
            QCOMPARE(call.password, QString());
            QVERIFY(!QFile::exists(call.source)); // the decrypted copy is gone after the task
        }
        QCOMPARE(TestFiles::entries(TestFiles::sandboxFolder(QStringLiteral("locked-out"))), (QStringList{"Locked_1-2.docx", "Locked_4.docx"}));
    }

    void scannedQuestionFollowsApplyToAll_data()
    {
        QTest::addColumn<bool>("useOcr");
        QTest::addColumn<bool>("applyToAll");
        QTest::addColumn<int>("questions");
        QTest::newRow("without OCR for all") << false << true << 1;
        QTest::newRow("without OCR, asked each time") << false << false << 2;
        QTest::newRow("OCR for all") << true << true << 1;
    }

    void scannedQuestionFollowsApplyToAll()
    {
        QFETCH(bool, useOcr);
        QFETCH(bool, applyToAll);
        QFETCH(int, questions);
        Responder responder(m_controller, useOcr, applyToAll);
        const QString out = TestFiles::sandboxFolder(QStringLiteral("scanned-%1-%2").arg(useOcr).arg(applyToAll));
        FromPDFTask first = makeTask(m_one, QStringLiteral("txt"), {{1, 1}}, 1);
        first.scanned = true;
        first.ocrLanguage = QStringLiteral("EN");
        FromPDFTask second = makeTask(m_ten, QStringLiteral("txt"), {{3, 3}}, 10);
        second.scanned = true;
        second.ocrLanguage = QStringLiteral("EN");
        runOnThread({first, second}, out);
        QCOMPARE(responder.asked.size(), questions);
        QCOMPARE(responder.asked.first(), QStringLiteral("B.pdf"));
        QCOMPARE(TestFiles::entries(out), (QStringList{"B.txt", "Ten_3.txt"}));
        // With OCR the recogniser wrote the text; without, the Word converter did.
        QCOMPARE(RecordingPdf2Word::calls().size(), useOcr ? 0 : 2);
        if (useOcr)
            QVERIFY(TestFiles::readFile(out + QStringLiteral("/Ten_3.txt")).contains("Page 3"));
    }

    // OCR of a speckled fax-quality page through the run, as the window drives it: no slower than
    // the tesseract command line on the page as the run renders it, reading at least as many of
    // its words (nearly all), and counting the pages done.
    void noisyScanIsReadAsFastAsByTheCommandLine()
    {
        const QString truth = TestPdfs::sentencePages(1, 40).first();
        const QString in = TestFiles::sandboxFolder(QStringLiteral("noisy"));
        const QString pdf = in + QStringLiteral("/fax.pdf");
        QVERIFY(TestPdfs::writeNoisyScanPdf(pdf, truth));
        const QString image = in + QStringLiteral("/page.jpg");
        QCOMPARE(DebenuDocument(m_service, pdf, QString(), false).renderPageToFile(300.0, 1, 1, image), 1);
        QElapsedTimer clock;
        clock.start();
        QByteArray cliText;
        QCOMPARE(TestFiles::run(QStringLiteral("tesseract"),
                                {image, QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng"),
                                 QStringLiteral("--tessdata-dir"), ToolPaths::path(ToolPaths::TessData)},
                                &cliText, nullptr, 600000),
                 0);
        const qint64 cliMs = clock.elapsed();

        Responder responder(m_controller, true, false);
        RecordingProgress progress;
        FromPDFTask task = makeTask(pdf, QStringLiteral("txt"), {{1, 1}}, 1);
        task.scanned = true;
        task.ocrLanguage = QStringLiteral("EN");
        const QString out = TestFiles::sandboxFolder(QStringLiteral("noisy-out"));
        clock.restart();
        runOnThread({task}, out, &progress);
        const qint64 oursMs = clock.elapsed();
        QVERIFY2(oursMs <= 2 * cliMs + 2000, qPrintable(QStringLiteral("%1 ms, command line %2 ms").arg(oursMs).arg(cliMs)));
        const QStringList words = TestPdfs::wordsOf(truth);
        const double ours = TestPdfs::wordsFound(words, TestPdfs::wordsOf(QString::fromUtf8(TestFiles::readFile(out + "/fax.txt"))));
        const double cli = TestPdfs::wordsFound(words, TestPdfs::wordsOf(QString::fromUtf8(cliText)));
        // The specks taken off the page before its analysis leave no stray letters among the words.
        QVERIFY2(ours >= cli && ours >= 0.97, qPrintable(QStringLiteral("%1 of the words, command line %2").arg(ours).arg(cli)));

        const QStringList calls = progress.calls();
        QCOMPARE(calls.mid(0, 2), QStringList({"min 0", "max 1"}));
        QVERIFY(calls.contains(QStringLiteral("text 1 of 1 converting. 0 of 1 pages")));
        QCOMPARE(progressValues(progress).first(), 0);
        QCOMPARE(lastCall(progress, QStringLiteral("text")), QStringLiteral("text 1 of 1 converting. 1 of 1 pages"));
    }

    // A stop while that page is read ends the run within a second, without output.
    void stopDuringOcrOfANoisyScan()
    {
        const QString pdf = TestFiles::sandboxFolder(QStringLiteral("noisy-stop")) + QStringLiteral("/fax.pdf");
        QVERIFY(TestPdfs::writeNoisyScanPdf(pdf, TestPdfs::sentencePages(1, 40).first()));
        Responder responder(m_controller, true, false);
        RecordingProgress progress;
        FromPDFTask task = makeTask(pdf, QStringLiteral("docx"), {{1, 1}}, 1);
        task.scanned = true;
        task.ocrLanguage = QStringLiteral("EN");
        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> stoppedAt{-1};
        std::thread stopper([&] {
            while (!progress.calls().contains(QStringLiteral("text 1 of 1 converting. 0 of 1 pages")) && clock.elapsed() < 60000)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            stoppedAt = clock.elapsed();
            progress.stop();
        });
        const QString out = TestFiles::sandboxFolder(QStringLiteral("noisy-stop-out"));
        m_context.setLastConvertedFile(UserContext::FromPdf, QStringLiteral("before"));
        runOnThread({task}, out, &progress);
        const qint64 finishedAt = clock.elapsed();
        stopper.join();
        QVERIFY2(finishedAt - stoppedAt < QP_STOP_ANSWERED_MS, qPrintable(QString::number(finishedAt - stoppedAt)));
        QCOMPARE(TestFiles::entries(out), QStringList());
        QCOMPARE(m_context.lastConvertedFile(UserContext::FromPdf), QString());
    }

    void stopDuringTheSecondOfThreeTasks()
    {
        RecordingProgress progress;
        RecordingPdf2Word::setScript([&](RecordingPdf2Word& component, RecordingPdf2Word::Call& call) {
            if (RecordingPdf2Word::calls().size() == 1)
                progress.stop();
            return RecordingPdf2Word::convertPages(component, call);
        });
        const QString out = TestFiles::sandboxFolder(QStringLiteral("stop"));
        runTasks({makeTask(m_one, QStringLiteral("docx"), {{1, 1}}, 1), makeTask(m_ten, QStringLiteral("docx"), {{1, 3}}, 10),
                  makeTask(m_ten, QStringLiteral("docx"), {{4, 4}}, 10)},
                 out, &progress);
        QCOMPARE(RecordingPdf2Word::calls().size(), 2);
        QCOMPARE(TestFiles::entries(out), QStringList{"B.docx"});
        QCOMPARE(m_context.lastConvertedFile(UserContext::FromPdf), QDir::toNativeSeparators(out + QStringLiteral("/B.docx")));
    }

    void progressCountsEveryPageOnce()
    {
        RecordingProgress progress;
        const QString out = TestFiles::sandboxFolder(QStringLiteral("progress"));
        runTasks({makeTask(m_ten, QStringLiteral("docx"), {{2, 2}, {5, 7}}, 10, true), makeTask(m_one, QStringLiteral("txt"), {{1, 1}}, 1)},
                 out, &progress);
        QCOMPARE(lastCall(progress, QStringLiteral("max")), QStringLiteral("max 5"));
        const QList<int> values = progressValues(progress);
        for (int i = 1; i < values.size(); ++i)
            QVERIFY2(values[i] >= values[i - 1], qPrintable(QString::number(i)));
        QCOMPARE(values.last(), 5);
        QCOMPARE(lastCall(progress, QStringLiteral("text")), QStringLiteral("text 2 of 2 converting. 5 of 5 pages"));
    }

    void emptyListAndUnknownFormatsProduceNothing()
    {
        FromPdfAlgorithm empty(m_service, nullptr, host());
        QSignalSpy started(&empty, &FromPdfAlgorithm::started);
        QSignalSpy finished(&empty, &FromPdfAlgorithm::finished);
        m_context.setLastConvertedFile(UserContext::FromPdf, QStringLiteral("kept"));
        empty.run();
        QCOMPARE(started.count(), 1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_context.lastConvertedFile(UserContext::FromPdf), QStringLiteral("kept"));

        const QString out = TestFiles::sandboxFolder(QStringLiteral("unknown"));
        runTasks({makeTask(m_one, QStringLiteral("xyz"), {{1, 1}}, 1), makeTask(m_one, QStringLiteral("docx"), {}, 1)}, out);
        QVERIFY(RecordingPdf2Word::calls().isEmpty());
        QCOMPARE(TestFiles::entries(out), QStringList());
    }

    void rangeExtractionIsAllOrNothing()
    {
        const QString out = TestFiles::sandboxFolder(QStringLiteral("extract"));
        QVERIFY(RangeExtraction::extractToFile(m_service, m_ten, QString(), false, {{2, 3}, {5, 5}}, out + QStringLiteral("/a.pdf")));
        QCOMPARE(pdfPages(out + QStringLiteral("/a.pdf")), 3);
        QVERIFY(TestPdfs::pdfText(out + QStringLiteral("/a.pdf")).contains(QLatin1String("Page 5")));
        // A range outside the document fails the whole extraction: no partial file.
        QVERIFY(!RangeExtraction::extractToFile(m_service, m_ten, QString(), false, {{1, 1}, {50, 60}}, out + QStringLiteral("/b.pdf")));
        QVERIFY(!QFile::exists(out + QStringLiteral("/b.pdf")));
        QVERIFY(!RangeExtraction::extractToFile(m_service, m_ten, QString(), false, {}, out + QStringLiteral("/c.pdf")));
        QVERIFY(!QFile::exists(out + QStringLiteral("/c.pdf")));
        QVERIFY(!RangeExtraction::extractToFile(m_service, out + QStringLiteral("/missing.pdf"), QString(), false, {{1, 1}},
                                                out + QStringLiteral("/d.pdf")));
    }

    void everyFormatThroughTheRealComponent()
    {
        registerPdf2WordComponent({ToolPaths::path(ToolPaths::Pdf2WordEngine), ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath(), ToolPaths::path(ToolPaths::TessData), QStringLiteral("eng"), {}});
        const QString out = TestFiles::sandboxFolder(QStringLiteral("all"));
        FromPDFTaskList tasks;
        for (const char* format : {"docx", "doc", "rtf", "odt", "html", "txt", "png"})
            tasks << makeTask(m_report, QLatin1String(format), {{1, 2}}, 2);
        tasks << makeTask(m_report, QStringLiteral("jpg"), {{1, 2}}, 2, true);
        runTasks(tasks, out);
        QCOMPARE(TestFiles::entries(out), (QStringList{"report_1-2.doc", "report_1-2.docx", "report_1-2.html", "report_1-2.odt",
                                                       "report_1-2.png", "report_1-2.rtf", "report_1-2.txt", "report_1.jpg",
                                                       "report_2.jpg"}));
        QVERIFY(TestFiles::readFile(out + QStringLiteral("/report_1-2.doc")).startsWith(QByteArray::fromHex("d0cf11e0")));
        QVERIFY(TestFiles::readFile(out + QStringLiteral("/report_1-2.rtf")).startsWith("{\\rtf"));
        QVERIFY(TestFiles::readFile(out + QStringLiteral("/report_1-2.docx")).startsWith("PK"));
        QVERIFY(TestFiles::readFile(out + QStringLiteral("/report_1-2.txt")).startsWith("Harvest Report"));
        QCOMPARE(QImage(out + QStringLiteral("/report_1-2.png")).height() > QImage(out + QStringLiteral("/report_1.jpg")).height(), true);
    }
};

QTEST_MAIN(FromPdfAlgorithmTest)
#include "test_frompdfalgorithm.moc"
