// The MuPDF base that both MuPDF stand-ins use: page runs end cleanly at the time limit, the
// caller's stop and the memory cap; damaged page trees give every page; a file whose encryption
// covers only embedded files opens without a password.

#include "platform/mupdf/FitzContext.h"
#include "platform/mupdf/PageRun.h"
#include "platform/mupdf/PdfOpen.h"
#include "tests/platform/pdflibrary/PdfLibraryFixtures.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace PdfLibraryFixtures;

namespace {

// Draws page 1 at 72 dpi, or reads the text of a page, under the page limits.
qpmupdf::RunOutcome drawFirstPage(fz_context* ctx, pdf_document* doc, const qpmupdf::RunWatch& watch = {})
{
    pdf_page* page = nullptr;
    fz_pixmap* pixmap = nullptr;
    fz_device* device = nullptr;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(
        ctx, [&](fz_cookie* cookie) {
            page = pdf_load_page(ctx, doc, 0);
            pixmap = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), fz_round_rect(pdf_bound_page(ctx, page)), nullptr, 0);
            device = fz_new_draw_device(ctx, fz_identity, pixmap);
            pdf_run_page(ctx, page, device, fz_identity, cookie);
            fz_close_device(ctx, device);
        },
        watch);
    fz_drop_device(ctx, device);
    fz_drop_pixmap(ctx, pixmap);
    fz_drop_page(ctx, reinterpret_cast<fz_page*>(page));
    return outcome;
}

QString pageText(fz_context* ctx, pdf_document* doc, int index)
{
    fz_stext_page* text = nullptr;
    fz_buffer* buffer = nullptr;
    QString result;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(ctx, [&](fz_cookie*) {
        text = fz_new_stext_page_from_page_number(ctx, reinterpret_cast<fz_document*>(doc), index, nullptr);
        buffer = fz_new_buffer_from_stext_page(ctx, text);
    });
    if (outcome.finished())
        result = QString::fromUtf8(fz_string_from_buffer(ctx, buffer));
    fz_drop_buffer(ctx, buffer);
    fz_drop_stext_page(ctx, text);
    return result;
}

struct OpenedPdf
{
    qpmupdf::OpenResult result = qpmupdf::OpenResult::Damaged;
    pdf_document* doc = nullptr;
};

OpenedPdf open(fz_context* ctx, const QByteArray& bytes, const char* password = "")
{
    OpenedPdf opened;
    const QString path = sandboxFile(QStringLiteral("input.pdf"), bytes);
    opened.result = qpmupdf::openPdf(ctx, path.toStdString(), password, &opened.doc);
    return opened;
}

QByteArray untypedPage(int parent, int contents)
{
    return "<< /Parent " + QByteArray::number(parent) + " 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> "
                                                        "/Contents "
           + QByteArray::number(contents) + " 0 R >>";
}

// Three untyped pages showing "Page 1" to "Page 3" (objects 4 to 9), under a page tree made by
// tree from the page object numbers.
QByteArray threePages(const std::function<QList<QByteArray>(QList<int> pages)>& tree)
{
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "<< >>",
                                 "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QList<int> pages;
    for (int page = 1; page <= 3; ++page) {
        const QByteArray content = "BT /F1 24 Tf 72 700 Td (Page " + QByteArray::number(page) + ") Tj ET";
        objects << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
        objects << untypedPage(2, objects.size());
        pages << objects.size();
    }
    const QList<QByteArray> nodes = tree(pages);
    objects[1] = nodes.value(0);
    objects += nodes.mid(1);
    return pdfFile(objects, 1);
}

QByteArray refs(const QList<int>& numbers)
{
    QByteArray out;
    for (int number : numbers)
        out += QByteArray::number(number) + " 0 R ";
    return out;
}

} // namespace

class TestMupdfBase : public QObject
{
    Q_OBJECT

    qpmupdf::ContextPtr m_context;
    fz_context* ctx = nullptr;

private slots:
    void init()
    {
        m_context = qpmupdf::newContext();
        ctx = m_context.get();
        QVERIFY(ctx);
    }

    void cleanup() { m_context.reset(); }

    void pageRunsEndAtTheirLimits()
    {
        OpenedPdf busy = open(ctx, busyPdf(1000000));
        QCOMPARE(busy.result, qpmupdf::OpenResult::Opened);
        QElapsedTimer clock;

        clock.start();
        qpmupdf::RunWatch shortLimit;
        shortLimit.timeLimit = std::chrono::milliseconds(100);
        QCOMPARE(drawFirstPage(ctx, busy.doc, shortLimit).end, qpmupdf::RunEnd::OverTime);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));

        // The caller's stop: asked after half a second, answered at once.
        clock.restart();
        int asked = 0;
        qpmupdf::RunWatch stopping;
        stopping.keepGoing = [&] { return ++asked < 1; };
        const qpmupdf::RunOutcome stopped = drawFirstPage(ctx, busy.doc, stopping);
        if (stopped.end != qpmupdf::RunEnd::Finished) { // a fast machine may finish first
            QCOMPARE(stopped.end, qpmupdf::RunEnd::Stopped);
            QCOMPARE(asked, 1);
            QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        }
        QCOMPARE(drawFirstPage(ctx, busy.doc).end, qpmupdf::RunEnd::Finished);

        // Time the caller spends in keepGoing (a pause) does not count against the limit: a
        // 900 ms page under a 700 ms limit whose caller held it up for 600 ms finishes.
        qpmupdf::RunWatch pausingCaller;
        pausingCaller.timeLimit = std::chrono::milliseconds(700);
        pausingCaller.keepGoing = [] { QThread::msleep(600); return true; };
        const qpmupdf::RunOutcome paused = qpmupdf::runPage(
            ctx, [](fz_cookie* cookie) {
                for (int waited = 0; waited < 900 && !cookie->abort; waited += 10)
                    QThread::msleep(10);
            },
            pausingCaller);
        QCOMPARE(paused.end, qpmupdf::RunEnd::Finished);
        pdf_drop_document(ctx, busy.doc);

        // A picture whose decoding needs 2.5 GB fails at once, and leaves the context as it was.
        const size_t before = qpmupdf::memoryInUse(ctx);
        OpenedPdf huge = open(ctx, hugeJbig2Pdf());
        QCOMPARE(huge.result, qpmupdf::OpenResult::Opened);
        clock.restart();
        const qpmupdf::RunOutcome overMemory = drawFirstPage(ctx, huge.doc);
        QCOMPARE(overMemory.end, qpmupdf::RunEnd::OverMemory);
        QVERIFY(QString::fromStdString(overMemory.message).contains(QLatin1String("memory")));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        pdf_drop_document(ctx, huge.doc);
        fz_empty_store(ctx);
        QVERIFY(qpmupdf::memoryInUse(ctx) <= before + 4096);
    }

    void damagedPageTreesGiveEveryPage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // The pages sit in a tree that also lists a number: MuPDF cannot use it.
        QTest::newRow("untyped pages in a broken tree") << threePages([](QList<int> pages) {
            return QList<QByteArray>{"<< /Type /Pages /Kids [" + refs(pages) + "7] /Count 3 >>"};
        });
        // No page tree left: the untyped pages are found by their keys.
        QTest::newRow("untyped pages without a tree") << threePages([](QList<int>) {
            return QList<QByteArray>{"<< /Type /Font >>"};
        });
        // An inner node counts nothing, the top 2: the kids still reach all three pages.
        QTest::newRow("nested untyped nodes with wrong counts") << threePages([](QList<int> pages) {
            return QList<QByteArray>{"<< /Kids [" + refs({pages[0], 10}) + "] /Count 2 >>",
                                     "<< /Parent 2 0 R /Kids [" + refs(pages.mid(1)) + "] >>"};
        });
    }

    void damagedPageTreesGiveEveryPage()
    {
        QFETCH(QByteArray, bytes);
        OpenedPdf opened = open(ctx, bytes);
        QCOMPARE(opened.result, qpmupdf::OpenResult::Opened);
        QCOMPARE(pdf_count_pages(ctx, opened.doc), 3);
        for (int index = 0; index < 3; ++index)
            QVERIFY(pageText(ctx, opened.doc, index).contains(QStringLiteral("Page %1").arg(index + 1)));
        pdf_drop_document(ctx, opened.doc);
    }

    // A fuzzer's finding: the page-tree repair accepted the file, but MuPDF counted no page in
    // it. Such a file is damaged, not opened.
    void openedMeansPagesToShow()
    {
        OpenedPdf opened = open(ctx, TestFiles::readFile(QStringLiteral(QP_MUPDF_DATA "/tree-without-counted-pages.pdf")));
        if (opened.result == qpmupdf::OpenResult::Opened) {
            QVERIFY(pdf_count_pages(ctx, opened.doc) > 0);
            pdf_drop_document(ctx, opened.doc);
        } else {
            QCOMPARE(opened.result, qpmupdf::OpenResult::Damaged);
        }
    }

    void repairDuringTheRebuildKeepsThePagesLeft()
    {
        // The tree loops, so opening looks for the pages object by object. The font's dictionary
        // runs on into the first page, and the second page's cross-reference entry points into
        // the font: loading it makes MuPDF repair the file half-way through the search. MuPDF's
        // repair loses the first page to the font; the file still opens with the second.
        QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [4 0 R 2 0 R 5 0 R] /Count 2 >>",
                                     "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica"};
        for (int page = 1; page <= 2; ++page)
            objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> "
                       "/Contents "
                           + QByteArray::number(5 + page) + " 0 R >>";
        for (int page = 1; page <= 2; ++page)
            objects << "<< /Length 37 >>\nstream\nBT /F1 24 Tf 72 700 Td (Page " + QByteArray::number(page)
                           + ") Tj ET\nendstream";
        QByteArray bytes = pdfFile(objects, 1);
        bytes.replace("/Helvetica\nendobj", "/Helvetica\n      ");
        const int table = bytes.indexOf('\n', bytes.lastIndexOf("\nxref\n") + 6) + 1; // 20 bytes an entry
        bytes.replace(table + 20 * 5, 10, QByteArray::number(bytes.indexOf("/BaseFont")).rightJustified(10, '0'));

        OpenedPdf opened = open(ctx, bytes);
        QCOMPARE(opened.result, qpmupdf::OpenResult::Opened);
        const int pages = pdf_count_pages(ctx, opened.doc);
        QVERIFY(pages >= 1);
        QVERIFY(pageText(ctx, opened.doc, pages - 1).contains(QLatin1String("Page 2")));
        pdf_drop_document(ctx, opened.doc);
    }

    void attachmentOnlyEncryptionNeedsNoPassword()
    {
        // Only embedded files are encrypted (with a user password nobody gave): the pages read
        // without one, as pdfinfo reads them.
        const QByteArray encrypt =
            "/Encrypt << /Filter /Standard /V 4 /R 4 /Length 128 /P -4 "
            "/CF << /StdCF << /CFM /AESV2 /AuthEvent /EFOpen /Length 16 >> >> /StmF /Identity /StrF /Identity /EFF /StdCF "
            "/O <"
            + QByteArray(64, 'a') + "> /U <" + QByteArray(64, 'b') + "> >> "
                                                                     "/ID [<0123456789abcdef0123456789abcdef> <0123456789abcdef0123456789abcdef>]";
        const QByteArray plain = textPdf(2);
        const QByteArray attachmentsOnly = plain.left(plain.lastIndexOf(">>\nstartxref")) + encrypt
                                           + plain.mid(plain.lastIndexOf(">>\nstartxref"));
        QCOMPARE(pdfinfo(sandboxFile(QStringLiteral("attachments.pdf"), attachmentsOnly)).value("Pages"), QString("2"));
        OpenedPdf opened = open(ctx, attachmentsOnly);
        QCOMPARE(opened.result, qpmupdf::OpenResult::Opened);
        QVERIFY(pageText(ctx, opened.doc, 1).contains(QLatin1String("Page 2")));
        pdf_drop_document(ctx, opened.doc);
    }
};

QTEST_MAIN(TestMupdfBase)
#include "test_mupdfbase.moc"
