#include "frompdf/document/TextDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

namespace {

// Ten pages, one block each, every block after the first starting a new page.
void fillTenPages(TextDocument* document)
{
    QTextCursor cursor(document);
    for (int page = 1; page <= 10; ++page) {
        if (page > 1) {
            QTextBlockFormat format;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(format);
        }
        cursor.insertText(QStringLiteral("Chapter %1 tells of <things> & more").arg(page));
    }
    document->clearUndoRedoStacks();
}

QColor backgroundAt(TextDocument* document, int position)
{
    QTextCursor cursor(document);
    cursor.setPosition(position + 1);
    return cursor.charFormat().background().color();
}

} // namespace

class TextDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void pagesThroughColumns()
    {
        TextDocument document;
        fillTenPages(&document);
        document.setViewPortSize(QSize(400, 300));
        QCOMPARE(document.pageCount(), 10);
        QSignalSpy changed(&document, &TextDocument::pageChanged);

        document.setColumnCount(2);
        document.setPage(9);
        document.next();
        QCOMPARE(document.currentPage(), 10);
        document.next();
        QCOMPARE(document.currentPage(), 10);
        document.previous();
        QCOMPARE(document.currentPage(), 8);
        document.setPage(2);
        document.previous();
        QCOMPARE(document.currentPage(), 2);
        document.moveToEnd();
        QCOMPARE(document.currentPage(), 10);
        QCOMPARE(document.progress(), 100.0f);
        document.moveToHome();
        QCOMPARE(document.currentPage(), 1);
        QCOMPARE(document.percentOfPage(5), 50);
        QVERIFY(changed.count() >= 5);

        const int fourth = document.findBlockByNumber(3).position();
        QCOMPARE(document.pageOfPosition(fourth + 3), 4);
        document.setPageByBlockNumber(6);
        QCOMPARE(document.currentPage(), 7);
        QCOMPARE(document.calcPositionByPage(4), fourth);
    }

    void searchOffersThePageAndHighlightsEveryHit()
    {
        TextDocument document;
        fillTenPages(&document);
        document.setViewPortSize(QSize(400, 300));
        document.setHighlightColor(QColor(Qt::yellow));

        const QList<SearchResult> results = document.search(QStringLiteral("3"));
        QVERIFY(results.size() >= 2);
        QCOMPARE(results.first().text, QStringLiteral("Go to page 3"));
        QVERIFY(results.first().pageJump);
        QCOMPARE(results.first().position, document.findBlockByNumber(2).position());
        QCOMPARE(results.at(1).text, QStringLiteral("Chapter <b>3</b> tells of &lt;things&gt; &amp; more"));
        QCOMPARE(backgroundAt(&document, results.at(1).position), QColor(Qt::yellow));

        const QList<SearchResult> words = document.search(QStringLiteral("Chapter"));
        QCOMPARE(words.size(), 10);
        for (int i = 1; i < words.size(); ++i)
            QVERIFY(words.at(i - 1).position < words.at(i).position);
        // The earlier search's highlight is gone.
        QVERIFY(backgroundAt(&document, results.at(1).position) != QColor(Qt::yellow));

        QSignalSpy cleaned(&document, &TextDocument::endCleanSearch);
        document.clearSearch();
        QCOMPARE(cleaned.count(), 1);
        QVERIFY(backgroundAt(&document, words.first().position) != QColor(Qt::yellow));
        QCOMPARE(document.toPlainText().count(QStringLiteral("Chapter")), 10);
        QVERIFY(document.search(QString()).isEmpty());
        QVERIFY(document.search(QStringLiteral("11")).isEmpty());
    }
};

QTEST_MAIN(TextDocumentTest)
#include "test_textdocument.moc"
