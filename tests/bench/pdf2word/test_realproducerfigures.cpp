#include "bench/pdf2word/RealProducerFigures.h"

#include <QtTest>

using namespace RealProducerFigures;

class TestRealProducerFigures : public QObject
{
    Q_OBJECT

private slots:
    void pdf2docxTable();
    void icdarOutput();
    void suiteOutput();
};

void TestRealProducerFigures::pdf2docxTable()
{
    const QString readme = QStringLiteral(
        "| converter | precision | recall |\n"
        "|---|---|---|\n"
        "| sample | pass mark | pdf2docx | Quillpress |\n"
        "|---|---|---|---|\n"
        "| demo-blank | 1.00 | 1.000, 1 page | 1.000, 1 page |\n"
        "| demo-image-colorspace | — | 0.844, 2 | 0.814, 2 |\n"
        "| demo-table-close-underline | 0.49 | 0.483, 1 | 0.447, 2 |\n"
        "| demo-whisper_2_3 (pages 25-27) | — | 0.661, 3 pages | 0.660, 10 pages |\n"
        "| all | 24 pass marks | 18 met, mean 0.757, 6 printed longer | 5 met |\n");
    const QMap<QString, Pdf2docxReference> references = pdf2docxReferences(readme);
    QCOMPARE(references.keys(), QStringList({QStringLiteral("demo-blank.pdf"), QStringLiteral("demo-image-colorspace.pdf"),
                                             QStringLiteral("demo-table-close-underline.pdf"), QStringLiteral("demo-whisper_2_3.pdf")}));
    const Pdf2docxReference blank = references.value(QStringLiteral("demo-blank.pdf"));
    QCOMPARE(blank.passMark, 1.0);
    QCOMPARE(blank.printedPages, 1);
    QCOMPARE(references.value(QStringLiteral("demo-image-colorspace.pdf")).passMark, -1.0); // no pass mark
    QCOMPARE(references.value(QStringLiteral("demo-image-colorspace.pdf")).printedPages, 2);
    const Pdf2docxReference underline = references.value(QStringLiteral("demo-table-close-underline.pdf"));
    QCOMPARE(underline.passMark, 0.49);
    QCOMPARE(underline.ssim, 0.483); // pdf2docx's own figure, not ours beside it
    const Pdf2docxReference whisper = references.value(QStringLiteral("demo-whisper_2_3.pdf"));
    QCOMPARE(whisper.firstPage, 25);
    QCOMPARE(whisper.lastPage, 27);
    QCOMPARE(whisper.ssim, 0.661);
    QCOMPARE(whisper.printedPages, 3);
}

void TestRealProducerFigures::icdarOutput()
{
    const IcdarSummary summary = icdarSummary(QStringLiteral(
        "icdar2013 27 docs: relations P 0.960 R 0.722 F1 0.824 (macro F1 0.667); tables gt 76 written 701; docs with a gt table "
        "not written 6; time 12.0 s; [engine] gt cell words 4770: in tables 4512, only as paragraphs 97; no docx 1\n"));
    QVERIFY(summary.read);
    QCOMPARE(summary.precision, 0.960);
    QCOMPARE(summary.recall, 0.722);
    QCOMPARE(summary.f1, 0.824);
    QCOMPARE(summary.truthTables, 76);
    QCOMPARE(summary.written, 701);
    QCOMPARE(summary.docsNotWritten, 6);
    QCOMPARE(summary.seconds, 12.0);
    QCOMPARE(summary.withoutDocx, 1);
    QVERIFY(!icdarSummary(QStringLiteral("Traceback (most recent call last):\n")).read);

    const QList<IcdarDocument> documents = icdarDocuments(QStringLiteral(
        "eu-001    gt=eu-001  P 0.888 R 0.475 F1 0.619 rel gt  503 found  269 ok  239 | tables gt 7 written 117 not-written 0 | "
        "words 549 in-tables 525 only-para 5 | rc 0 0.28s 0\n"
        "eu-009a   gt=eu-009b P 0.000 R 0.000 F1 0.000 rel gt   54 found    0 ok    0 | tables gt 1 written 0 not-written 1 | "
        "words 33 in-tables 0 only-para 0 | rc -9 300.00s timeout DOCX FileNotFoundError\n"));
    QCOMPARE(documents.size(), 2);
    QCOMPARE(documents[0].name, QStringLiteral("eu-001"));
    QCOMPARE(documents[0].f1, 0.619);
    QCOMPARE(documents[0].returnCode, 0);
    QCOMPARE(documents[1].name, QStringLiteral("eu-009a"));
    QCOMPARE(documents[1].returnCode, -9);
}

void TestRealProducerFigures::suiteOutput()
{
    const SuiteResult result = suiteResult(
        QStringLiteral("pdf2docx suite (ours): 29 files, thresholds met 5/24, mean ssim 0.698, failed 1, printed on more pages than "
                       "the original 15, table extraction wrong\n"),
        QStringLiteral("demo-blank.pdf                           ssim 1.000 need 1.0 ok pages 1->1\n"
                       "demo-image-colorspace.pdf                ssim 0.812 need None ok pages 1->2\n"
                       "demo-table.pdf                           ssim 0.721 need 0.75 BELOW pages 1->3\n"
                       "demo-table.pdf                           table extraction WRONG\n"
                       "demo-text.pdf                            FAILED rc=4\n"
                       "demo-whisper_2_3.pdf                     ssim 0.660 need None ok pages 3->10\n"));
    QVERIFY(result.read);
    QCOMPARE(result.thresholdsMet, 5);
    QCOMPARE(result.graded, 24);
    QCOMPARE(result.meanSsim, 0.698);
    QCOMPARE(result.failed, 1);
    QVERIFY(!result.tableExact);
    QCOMPARE(result.samples.size(), 5); // the table-extraction line is no sample
    QCOMPARE(result.samples[1].ssim, 0.812);
    QCOMPARE(result.samples[2].printedPages, 3);
    QCOMPARE(result.samples[3].name, QStringLiteral("demo-text.pdf"));
    QVERIFY(!result.samples[3].converted);
    QCOMPARE(result.samples[4].pages, 3);
    QCOMPARE(result.samples[4].printedPages, 10);
    QVERIFY(suiteResult(QStringLiteral("... table extraction ok\n").prepend(QStringLiteral("thresholds met 24/24, mean ssim 0.900, failed 0, x,")), QString()).tableExact);
}

QTEST_GUILESS_MAIN(TestRealProducerFigures)
#include "test_realproducerfigures.moc"
