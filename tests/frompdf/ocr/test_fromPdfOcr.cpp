#include "app/core/ToolPaths.h"
#include "frompdf/ocr/FromPDFOCR.h"
#include "pdflib/service/DebenuService.h"
#include "tests/frompdf/TestPdfs.h"
#include "tests/support/TestFiles.h"

#include "tests/frompdf/engine/RecordingProgress.h"

#include <QTextDocument>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

const QStringList kPages = {
    QStringLiteral("HARBOUR REPORT\n\nSeven lanterns were polished on Monday\nFish & Chips <cheap> at the pier"),
    QStringLiteral("Second page about lighthouse keepers"),
};

QString textOfHtml(const QString& path)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(TestFiles::readFile(path)));
    return document.toPlainText();
}

// Text of an office file through LibreOffice.
QString textOfOfficeFile(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath() + QStringLiteral("/text-of-") + QFileInfo(path).fileName();
    TestFiles::run(ToolPaths::path(ToolPaths::Soffice),
                   {QStringLiteral("--headless"),
                    QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + "/profile").toString(QUrl::FullyEncoded),
                    QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                    folder, path},
                   nullptr, nullptr, 300000);
    return QString::fromUtf8(TestFiles::readFile(folder + QLatin1Char('/') + QFileInfo(path).completeBaseName() + ".txt"));
}

// Tells the recognition's questions (whether it is stopped, alone) from the run's between steps
// (stopped, paused, stopped).
class PageProgress : public RecordingProgress
{
public:
    bool isStopped() const override
    {
        ++stoppedPolls;
        return RecordingProgress::isStopped();
    }
    bool isPaused() const override
    {
        ++pausedPolls;
        return RecordingProgress::isPaused();
    }
    bool recognising() const { return stoppedPolls > 2 * pausedPolls + 1; }

    mutable std::atomic<long> stoppedPolls{0};
    mutable std::atomic<long> pausedPolls{0};
};

} // namespace

class FromPdfOcrTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        m_root = TestFiles::sandbox() + QStringLiteral("/ocr");
        m_scan = m_root + QStringLiteral("/in/scan.pdf");
        QVERIFY(TestPdfs::writeScannedPdf(m_scan, kPages, 300));
        QVERIFY(TestPdfs::encryptPdf(m_scan, m_root + "/in/locked.pdf", "pw", "owner"));
        QDir().mkpath(m_root + "/out");
        m_service.reset(new DebenuService);
    }

    // Plain text: a byte-order mark, then the words of both pages in page order.
    void recognisesToText()
    {
        const QString output = m_root + QStringLiteral("/out/scan.TXT");
        RecordingProgress progress;
        FromPDFOCR ocr(m_service, m_scan, QString(), output, 1, 2, QStringLiteral("EN"), true, &progress);
        QSignalSpy pages(&ocr, &FromPDFOCR::progressChanged);
        QSignalSpy finished(&ocr, &FromPDFOCR::finished);
        ocr.run();
        QCOMPARE(ocr.errorType(), 0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(pages.count(), 2);
        const QByteArray bytes = TestFiles::readFile(output);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(bytes).simplified();
        QVERIFY2(text.contains(QStringLiteral("Seven lanterns were polished on Monday")), qPrintable(text));
        QVERIFY(text.indexOf(QStringLiteral("HARBOUR REPORT")) < text.indexOf(QStringLiteral("lighthouse keepers")));
        QVERIFY(text.indexOf(QStringLiteral("lighthouse keepers")) > 0);
    }

    // HTML, page by page or as paragraphs: recognised markup characters stay text, and the lines
    // of the page stay lines.
    void recognisesToHtml_data()
    {
        QTest::addColumn<bool>("paragraphs");
        QTest::newRow("pages") << false;
        QTest::newRow("paragraphs") << true;
    }

    void recognisesToHtml()
    {
        QFETCH(bool, paragraphs);
        const QString output = m_root + QStringLiteral("/out/scan%1.html").arg(paragraphs);
        FromPDFOCR ocr(m_service, m_scan, QString(), output, 1, 1, QStringLiteral("EN"), paragraphs, nullptr);
        ocr.run();
        QCOMPARE(ocr.errorType(), 0);
        const QString text = textOfHtml(output);
        QVERIFY2(text.contains(QStringLiteral("Fish & Chips <cheap> at the pier")), qPrintable(text));
        const QStringList lines = text.split(QRegularExpression(QStringLiteral("[\n\u2028\u2029]")), Qt::SkipEmptyParts);
        QVERIFY2(lines.contains(QStringLiteral("HARBOUR REPORT")), qPrintable(lines.join('|')));
        if (!paragraphs)
            QVERIFY(lines.contains(QStringLiteral("Seven lanterns were polished on Monday")));
    }

    // Office formats: DOCX through LibreOffice, ODT written directly; both readable by LibreOffice.
    void recognisesToOfficeFormats()
    {
        const QString docx = m_root + QStringLiteral("/out/scan.docx");
        FromPDFOCR toDocx(m_service, m_scan, QString(), docx, 1, 2, QStringLiteral("EN"), true, nullptr);
        toDocx.run();
        QCOMPARE(toDocx.errorType(), 0);
        QVERIFY(TestFiles::readFile(docx).startsWith("PK"));

        const QString odt = m_root + QStringLiteral("/out/scan.odt");
        FromPDFOCR toOdt(m_service, m_scan, QString(), odt, 2, 2, QStringLiteral("EN"), false, nullptr);
        toOdt.run();
        QCOMPARE(toOdt.errorType(), 0);

        const QString docxText = textOfOfficeFile(docx).simplified();
        QVERIFY2(docxText.contains(QStringLiteral("Seven lanterns were polished on Monday")), qPrintable(docxText));
        QVERIFY(docxText.contains(QStringLiteral("lighthouse keepers")));
        const QString odtText = textOfOfficeFile(odt).simplified();
        QVERIFY2(odtText.contains(QStringLiteral("Second page about lighthouse keepers")), qPrintable(odtText));
    }

    // A range that starts at page 2 reports its pages from 1.
    void progressCountsFromTheRangeStart()
    {
        const QString output = m_root + QStringLiteral("/out/second.txt");
        FromPDFOCR ocr(m_service, m_scan, QString(), output, 2, 2, QStringLiteral("EN"), false, nullptr);
        QSignalSpy pages(&ocr, &FromPDFOCR::progressChanged);
        ocr.run();
        QCOMPARE(pages.count(), 1);
        QCOMPARE(pages.first(), QVariantList({1, 1}));

        // A reversed range recognises nothing and still writes its (empty) output.
        FromPDFOCR none(m_service, m_scan, QString(), m_root + "/out/none.txt", 2, 1, QStringLiteral("EN"), false, nullptr);
        QSignalSpy nonePages(&none, &FromPDFOCR::progressChanged);
        none.run();
        QCOMPARE(none.errorType(), 0);
        QCOMPARE(nonePages.count(), 0);
    }

    void failures()
    {
        const QString out = m_root + QStringLiteral("/fail");
        QDir().mkpath(out);
        auto errorOf = [&](const QString& source, const QString& password, int first, int last, IProgress* progress,
                           FromPDFOCR::LanguageResolver languages = {}) {
            FromPDFOCR ocr(m_service, source, password, out + "/x.txt", first, last, QStringLiteral("EN"), false,
                           progress, languages);
            ocr.run();
            return ocr.errorType();
        };
        QCOMPARE(errorOf(m_root + "/in/missing.pdf", QString(), 1, 1, nullptr), int(FromPDFOCR::LoadFailed));
        QCOMPARE(errorOf(m_root + "/in/locked.pdf", QString(), 1, 1, nullptr), int(FromPDFOCR::PasswordFailed));
        QCOMPARE(errorOf(m_root + "/in/locked.pdf", QStringLiteral("wrong"), 1, 1, nullptr),
                 int(FromPDFOCR::PasswordFailed));
        QCOMPARE(errorOf(m_scan, QString(), 3, 3, nullptr), int(FromPDFOCR::PageFailed));

        QCOMPARE(errorOf(m_scan, QString(), 1, 1, nullptr, [](const QString&) { return QStringLiteral("xyz"); }),
                 int(FromPDFOCR::EngineFailed));

        // A stop after the first page: no output at all.
        RecordingProgress progress;
        FromPDFOCR ocr(m_service, m_scan, QString(), out + "/stopped.txt", 1, 2, QStringLiteral("EN"), false,
                       &progress);
        connect(&ocr, &FromPDFOCR::progressChanged, [&](int current, int) {
            if (current == 1)
                progress.stopped = true;
        });
        ocr.run();
        QCOMPARE(ocr.errorType(), int(FromPDFOCR::Stopped));
        QVERIFY(TestFiles::entries(out).isEmpty());

        // A folder that cannot take the output: 6.
        QCOMPARE(errorOf(m_scan, QString(), 2, 2, nullptr), 0);
        FromPDFOCR blocked(m_service, m_scan, QString(), m_root + "/no/such/folder/x.html", 2, 2, QStringLiteral("EN"),
                           false, nullptr);
        blocked.run();
        QCOMPARE(blocked.errorType(), int(FromPDFOCR::SaveFailed));
    }

    // A stop while a page is recognised ends the conversion within a second (more under the
    // sanitizers), without output.
    void stopEndsThePageBeingRecognised()
    {
        QStringList lines;
        for (int line = 0; line < 36; ++line)
            lines << QStringLiteral("Lantern %1 harbour keeper morning river stone window garden").arg(line);
        const QString dense = m_root + QStringLiteral("/in/dense.pdf");
        QVERIFY(TestPdfs::writeScannedPdf(dense, {lines.join(QLatin1Char('\n'))}, 300));
        const QString out = m_root + QStringLiteral("/stop");
        QDir().mkpath(out);

        PageProgress progress;
        FromPDFOCR ocr(m_service, dense, QString(), out + "/dense.txt", 1, 1, QStringLiteral("EN"), false, &progress);
        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> stoppedAt{0};
        std::thread stopper([&] {
            while (!progress.recognising() && clock.elapsed() < 60000)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            stoppedAt = clock.elapsed();
            progress.stopped = true;
        });
        ocr.run();
        const qint64 finishedAt = clock.elapsed();
        stopper.join();
        QCOMPARE(ocr.errorType(), int(FromPDFOCR::Stopped));
        QVERIFY2(finishedAt - stoppedAt < QP_STOP_ANSWERED_MS, qPrintable(QString::number(finishedAt - stoppedAt)));
        QVERIFY(TestFiles::entries(out).isEmpty());
    }

    void languageFallback()
    {
        FromPDFOCR english(m_service, m_scan, QString(), QString(), 1, 1, QStringLiteral("EN"), true, nullptr);
        QCOMPARE(english.tesseractLanguage(), QStringLiteral("eng"));
        FromPDFOCR german(m_service, m_scan, QString(), QString(), 1, 1, QStringLiteral("DEU"), true, nullptr);
        QCOMPARE(german.tesseractLanguage(), QStringLiteral("deu"));
        FromPDFOCR resolved(m_service, m_scan, QString(), QString(), 1, 1, QStringLiteral("DE"), true, nullptr,
                            [](const QString& code) { return code == "DE" ? "deu" : "eng"; });
        QCOMPARE(resolved.tesseractLanguage(), QStringLiteral("deu"));
    }

private:
    QString m_root;
    QString m_scan;
    QSharedPointer<DebenuService> m_service;
};

QTEST_MAIN(FromPdfOcrTest)
#include "test_fromPdfOcr.moc"
