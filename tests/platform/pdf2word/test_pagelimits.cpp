// A hostile page (a small file that draws millions of lines) fails within the page's limits for
// the whole process: the engine's own model of the page counts against the memory cap with
// MuPDF's blocks, and its layout ends when the time limit passes.

#include "platform/mupdf/FitzContext.h"
#include "platform/mupdf/PageRun.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

namespace {

// One letter-size page that strokes the same short line `lines` times.
QByteArray linesPdf(int lines)
{
    const QByteArray content = qCompress(QByteArray("1 1 m 2 2 l S\n").repeated(lines), 9).mid(4);
    return PdfLibraryFixtures::pdfFile(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
         "<< /Length " + QByteArray::number(content.size()) + " /Filter /FlateDecode >>\nstream\n" + content
             + "\nendstream"},
        1);
}

struct ProbeRun
{
    bool ran = false;
    int result = -1;
    QString message;
    long beforeKb = 0;
    long peakKb = 0;
    double seconds = 0;
};

// Converts the file's page 1 in the probe, under GNU time for its peak memory.
ProbeRun convertInProbe(const QString& pdf)
{
    ProbeRun run;
    QTemporaryFile report;
    if (!report.open())
        return run;
    const QString folder = QCoreApplication::applicationDirPath();
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/time"),
                {"-f", "%M", "-o", report.fileName(), folder + "/pagelimits_probe",
                 folder + "/libquillpdf2wordengine.so", pdf, pdf + ".txt"});
    QElapsedTimer clock;
    clock.start();
    if (!probe.waitForFinished(120000)) {
        probe.kill();
        probe.waitForFinished();
        return run;
    }
    run.seconds = clock.elapsed() / 1000.0;
    const QString output = QString::fromUtf8(probe.readAllStandardOutput());
    const QRegularExpressionMatch before = QRegularExpression(QStringLiteral("before (\\d+)")).match(output);
    const QRegularExpressionMatch result = QRegularExpression(QStringLiteral("result (\\d+) (.*)")).match(output);
    run.ran = probe.exitCode() == 0 && before.hasMatch() && result.hasMatch();
    run.beforeKb = before.captured(1).toLong();
    run.result = result.captured(1).toInt();
    run.message = result.captured(2).trimmed();
    run.peakKb = QString::fromLatin1(report.readAll()).trimmed().toLong();
    return run;
}

} // namespace

class TestPageLimits : public QObject
{
    Q_OBJECT

private slots:
    // Ten million lines in 270 kB: the page fails for memory, and the process grows by no more
    // than the cap and a tenth.
    void manyLinesFailWithinTheMemoryCap()
    {
        const QString pdf = PdfLibraryFixtures::sandboxFile(QStringLiteral("lines10m.pdf"), linesPdf(10000000));
        const ProbeRun run = convertInProbe(pdf);
        QVERIFY2(run.ran, qPrintable(run.message));
        QCOMPARE(run.result, 2);
        qInfo("peak %ld kB, %ld kB before the conversion, %.1f s", run.peakKb, run.beforeKb, run.seconds);
#ifdef QP_SANITIZED
        // Under the sanitizers the page runs several times slower and the process's memory is not
        // watched: on a busy machine its time may run out before MuPDF's own blocks reach the cap.
        QVERIFY2(run.message.contains(QLatin1String("memory")) || run.message.contains(QLatin1String("longer than")),
                 qPrintable(run.message));
#else
        QVERIFY2(run.message.contains(QLatin1String("memory")), qPrintable(run.message));
        const double capKb = qpmupdf::memoryCap / 1024.0;
        QVERIFY2(run.peakKb - run.beforeKb <= 1.1 * capKb, qPrintable(QString::number(run.peakKb)));
        QVERIFY2(run.seconds <= 1.1 * qpmupdf::pageTimeLimit.count() / 1000.0, qPrintable(QString::number(run.seconds)));
#endif
    }

    // A million lines fit in memory, but laying them out would take hours: the page fails when
    // its time is up.
    void manyLinesFailWhenTheirTimeIsUp()
    {
        const QString pdf = PdfLibraryFixtures::sandboxFile(QStringLiteral("lines1m.pdf"), linesPdf(1000000));
        const ProbeRun run = convertInProbe(pdf);
        QVERIFY2(run.ran, "the page ran past its time limit");
        QCOMPARE(run.result, 2);
        QVERIFY2(run.message.contains(QLatin1String("longer than")), qPrintable(run.message));
        qInfo("peak %ld kB, %.1f s", run.peakKb, run.seconds);
        QVERIFY2(run.seconds <= 1.1 * qpmupdf::pageTimeLimit.count() / 1000.0, qPrintable(QString::number(run.seconds)));
    }
};

QTEST_GUILESS_MAIN(TestPageLimits)
#include "test_pagelimits.moc"
