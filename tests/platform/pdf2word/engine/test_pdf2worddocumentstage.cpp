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
};

QTEST_GUILESS_MAIN(Pdf2WordDocumentStageTest)
#include "test_pdf2worddocumentstage.moc"
