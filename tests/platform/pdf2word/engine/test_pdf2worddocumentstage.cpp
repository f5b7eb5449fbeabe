// The document stage on its own: laid-out pages built by hand joined into one flowing document.

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "tests/platform/pdf2word/engine/PageModels.h"

#include <QtTest>

using namespace p2w;
using PageModels::column;
using PageModels::line;

class Pdf2WordDocumentStageTest : public QObject
{
    Q_OBJECT

private:
    qpmupdf::ContextPtr m_context = qpmupdf::newContext();

private slots:
    void initTestCase()
    {
        QVERIFY(m_context);
    }

    // Document building: a line repeated in the top margin of every page goes to the header, a
    // page number to a footer field; a word split at a line end is joined; a paragraph cut by the
    // page break is one again.
    void documentMovesRunningHeadsAndJoinsBrokenWords()
    {
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        for (int pageNumber = 1; pageNumber <= 2; ++pageNumber) {
            QVector<TextLine> lines;
            lines << line(QStringLiteral("The Running Head"), 250, 40, 9);
            QVector<TextLine> body = column(72, 120, 40, 80);
            if (pageNumber == 1) {
                body[38] = line(QStringLiteral("text text text text text text text text text text text text "
                                               "conver-"),
                                72, body[38].baseline);
                body[39] = line(QStringLiteral("sion text text text text text text text text text text text text text"), 72,
                                body[39].baseline);
            } else {
                body[0] = line(QStringLiteral("continued text text text text text text text text text text text text"),
                               72, body[0].baseline);
            }
            lines += body;
            lines << line(QString::number(pageNumber), 295, 800);
            builder.addPage(layOutPage(lines, PageGraphics(), PageModels::a4()), {});
        }
        const FlowDocument document = builder.finish();
        QCOMPARE(document.header.text, QStringLiteral("The Running Head"));
        QVERIFY(document.footer.pageNumber);
        QCOMPARE(document.blocks.size(), 1);
        const QString text = document.blocks.front().text();
        QVERIFY(text.contains(QLatin1String(" conversion text")));
        QVERIFY(text.contains(QLatin1String("text continued text")));
        QVERIFY(!text.contains(QLatin1String("Running")));
    }

    // A drawn table's rows are as high as on the page, its cells' paragraphs without space of
    // their own; a table read right to left (most of its text is) holds its columns from the
    // rightmost, so that a word processor sets them where the page has them.
    void tablesKeepTheirRowsAndDirection()
    {
        FoundTable table;
        table.columns = {72, 172, 272};
        table.rows = {100, 120, 140};
        const char* const texts[][2] = {{"1200", "\u0627\u0644\u0634\u0645\u0627\u0644"}, {"1500", "\u0627\u0644\u062C\u0646\u0648\u0628"}};
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 2; ++c) {
                FoundTable::Cell cell;
                cell.row = r;
                cell.column = c;
                TextLine text = line(QString::fromUtf8(texts[r][c]), table.columns[c] + 4, table.rows[r] + 14);
                text.rtl = c == 1;
                const fz_rect area = fz_make_rect(table.columns[c], table.rows[r], table.columns[c + 1], table.rows[r + 1]);
                cell.paragraphs = splitParagraphs({text}, area, area);
                table.cells.append(cell);
            }
        }
        table.box = fz_make_rect(72, 100, 272, 140);
        table.cells[0].paragraphs.front().rtl = true; // a figure in an Arabic row reads within it
        PageLayout page;
        page.mediabox = PageModels::a4();
        page.tables.append(table);
        PageItem item;
        item.kind = PageItem::Table;
        item.box = table.box;
        page.items.append(item);
        Looks looks(m_context.get());
        DocumentBuilder builder(looks);
        builder.addPage(page, {});
        const FlowDocument document = builder.finish();
        QCOMPARE(document.tables.size(), 1);
        const FlowTable& flow = document.tables.front();
        QVERIFY(flow.rtl);
        QCOMPARE(flow.rowHeights, QList<double>({20, 20}));
        QCOMPARE(flow.cells.front().column, 0);
        QCOMPARE(flow.cells.front().paragraphs.front().text(), QString::fromUtf8(texts[0][1]));
        QCOMPARE(flow.cells[1].paragraphs.front().text(), QStringLiteral("1200"));
        for (const FlowCell& cell : flow.cells)
            QCOMPARE(cell.paragraphs.front().spaceBefore, 0.0);
    }
};

QTEST_GUILESS_MAIN(Pdf2WordDocumentStageTest)
#include "test_pdf2worddocumentstage.moc"
