#include "frompdf/ocr/OcrParagraphBuilder.h"

#include <QtTest>

namespace {

QString blocksText(const OcrTextBlocks& blocks)
{
    QStringList parts;
    for (const OcrTextBlock& block : blocks)
        parts << QStringLiteral("%1:%2").arg(block.kind).arg(block.text);
    return parts.join(QLatin1Char('|'));
}

OcrTextBlocks pageBlocks(const QString& text)
{
    OcrParagraphBuilder builder(text.toHtmlEscaped());
    const int lines = text.count(QLatin1Char('\n')) + 1;
    int steps = 0;
    while (!builder.isFinished()) {
        builder.step();
        if (++steps > 2 * lines + 3)
            return {OcrTextBlock{QStringLiteral("did not finish"), 99}};
    }
    return builder.blocks();
}

} // namespace

class OcrParagraphsTest : public QObject
{
    Q_OBJECT

private slots:
    // Two pages: a heading, a paragraph of wrapped lines, a short sentence ending it, a paragraph
    // running onto the next page, blank lines and a closing heading.
    void buildsHeadingsParagraphsAndBreaksAcrossPages()
    {
        QMap<int, QString> pages;
        pages.insert(1, QStringLiteral("CHAPTER ONE\n\n"
                                       "The quick brown fox jumps over the lazy dog and\n"
                                       "keeps running across the field.\n"
                                       "Then it rests.\n"
                                       "It was a long day for the fox and\n"));
        pages.insert(2, QStringLiteral("all of its friends in the wood.\n\n\nTHE END"));
        QCOMPARE(OcrParagraphs::buildHtml(pages),
                 QStringLiteral("<b>CHAPTER ONE</b><br>"
                                "<p>The quick brown fox jumps over the lazy dog and keeps running across the field. "
                                "Then it rests.</p>"
                                "<p>It was a long day for the fox and all of its friends in the wood.</p>"
                                "<br><b>THE END</b>"));
    }

    void headingsInARowAreSeparated()
    {
        const QString longLine = QStringLiteral("and then a long line that starts in lower case!!");
        QCOMPARE(longLine.size(), 48);
        QCOMPARE(blocksText(pageBlocks(QStringLiteral("PART ONE\nINTRODUCTION\n\n") + longLine)),
                 QStringLiteral("1:PART ONE|0:|1:INTRODUCTION|0:|2:") + longLine);
    }

    void sentenceEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ends");
        QTest::newRow("full stop") << "It rests." << true;
        QTest::newRow("question") << "Really?" << true;
        QTest::newRow("full stop and closing quote") << QStringLiteral("He said \u201CStop.\u201D") << true;
        QTest::newRow("exclamation and apostrophe") << "'Go!'" << true;
        QTest::newRow("one character") << "." << false;
        QTest::newRow("escaped double quote") << QStringLiteral("\"Stop.\"").toHtmlEscaped() << false;
        QTest::newRow("comma") << "and so," << false;
    }

    void sentenceEnds()
    {
        QFETCH(QString, text);
        QFETCH(bool, ends);
        QCOMPARE(OcrParagraphBuilder::endsSentence(text), ends);
    }

    // An empty page adds nothing and stops joining; only consecutive pages join.
    void joiningNeedsConsecutivePagesWithBlocks()
    {
        QMap<int, QString> pages;
        pages.insert(1, QStringLiteral("A paragraph that goes on and on without an end and"));
        pages.insert(2, QStringLiteral("\n\n"));
        pages.insert(3, QStringLiteral("continues here after an empty page."));
        pages.insert(5, QStringLiteral("lower case after a gap in the numbers."));
        QCOMPARE(OcrParagraphs::buildHtml(pages),
                 QStringLiteral("<p>A paragraph that goes on and on without an end and</p>"
                                "<p>continues here after an empty page.</p>"
                                "<p>lower case after a gap in the numbers.</p>"));

        // A heading continued by a lower-case line becomes one paragraph.
        QMap<int, OcrTextBlocks> blocks;
        blocks.insert(7, {OcrTextBlock{QStringLiteral("Summary of the"), OcrTextBlock::Heading}});
        blocks.insert(8, {OcrTextBlock{QStringLiteral("results"), OcrTextBlock::Paragraph},
                          OcrTextBlock{QString(), OcrTextBlock::LineBreak}});
        QCOMPARE(blocksText(OcrParagraphs::joinPageBlocks(blocks)), QStringLiteral("2:Summary of the results|0:"));
    }

    // Markup characters in recognised text stay text; a leading quote is not a capital.
    void escapesMarkup()
    {
        QMap<int, QString> pages;
        pages.insert(1, QStringLiteral("Fish & chips <cheap> at \"Joe's\" place, served every evening\n"
                                       "\"Quoted\" line that follows."));
        const QString html = OcrParagraphs::buildHtml(pages);
        QVERIFY2(html.contains(QStringLiteral("Fish &amp; chips &lt;cheap&gt; at &quot;Joe's&quot;")), qPrintable(html));
        QVERIFY(!html.contains(QStringLiteral("<cheap>")));
        QCOMPARE(html.count(QStringLiteral("<p>")), 1);
    }

    void blankAndTrailingLines()
    {
        QCOMPARE(blocksText(pageBlocks(QStringLiteral("\n\n\n"))), QString());
        QCOMPARE(blocksText(pageBlocks(QString())), QString());
        // A leading blank line before text gives a break; trailing ones give none.
        QCOMPARE(blocksText(pageBlocks(QStringLiteral("\nsome text in lower case\n\n"))),
                 QStringLiteral("0:|2:some text in lower case"));
    }
};

QTEST_GUILESS_MAIN(OcrParagraphsTest)
#include "test_ocrparagraphs.moc"
