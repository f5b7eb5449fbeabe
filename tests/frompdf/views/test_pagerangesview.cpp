#include "frompdf/views/PageRangesView.h"
#include "frompdf/views/RangeListView.h"
#include "ui/kit/StyleNames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

FromPDFTask taskWith(int pages, const PageRangeList& ranges = {})
{
    FromPDFTask task;
    task.file = QFileInfo(QStringLiteral("/docs/book.pdf"));
    task.pageCount = pages;
    task.ranges = ranges;
    return task;
}

} // namespace

class PageRangesViewTest : public QObject
{
    Q_OBJECT

private:
    PageRangesView* m_view = nullptr;

    QPushButton* button(const QString& name) const { return m_view->findChild<QPushButton*>(name); }
    QPushButton* cancel() const { return button(StyleName::buttonCancel); }
    QPushButton* ok() const { return button(StyleName::buttonSaveSettings); }

    void add(const QString& from, const QString& to)
    {
        const QList<QLineEdit*> edits = m_view->findChildren<QLineEdit*>(StyleName::inputEdit);
        edits.at(0)->setText(from);
        edits.at(1)->setText(to);
        QTest::mouseClick(button(StyleName::buttonAddRange), Qt::LeftButton);
    }

    QStringList shown() const
    {
        QStringList texts;
        for (RangeItemView* item : m_view->rangeList()->items())
            texts << item->text();
        return texts;
    }

private slots:
    void initTestCase() { registerFromPdfRecordTypes(); }

    void init()
    {
        m_view = new PageRangesView;
        m_view->resize(547, 500);
        m_view->show();
    }
    void cleanup() { delete m_view; }

    void acceptsOnlyRangesInsideTheDocument()
    {
        m_view->setTask(2, taskWith(10));
        QVERIFY(m_view->findChild<QLabel*>(StyleName::settingsLabel)->text().endsWith(QLatin1String(": 10")));
        add("3", "3");
        add("8", "12");
        add("0", "2");
        add("5", "4");
        add(" 4 ", "6");
        add("", "6");
        QCOMPARE(shown(), QStringList({"3", "4 - 6"}));
        QCOMPARE(m_view->pageRanges().ranges(), PageRangeList({{3, 3}, {4, 6}}));
        // The edits keep what was typed.
        QCOMPARE(m_view->findChildren<QLineEdit*>(StyleName::inputEdit).at(1)->text(), QStringLiteral("6"));
        // Only digits can be typed.
        QLineEdit* from = m_view->findChildren<QLineEdit*>(StyleName::inputEdit).at(0);
        from->clear();
        QTest::keyClicks(from, "1a-2");
        QCOMPARE(from->text(), QStringLiteral("12"));
    }

    void duplicateIsStoredTwiceShownOnceRemovedTogether()
    {
        m_view->setTask(0, taskWith(10));
        QSignalSpy committed(m_view, &PageRangesView::commit);
        add("1", "3");
        add("1", "3");
        QCOMPARE(shown(), QStringList({"1 - 3"}));
        QCOMPARE(m_view->pageRanges().ranges(), PageRangeList({{1, 3}, {1, 3}}));
        QTest::mouseClick(ok(), Qt::LeftButton);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(committed.first().at(0).toInt(), 0);
        QCOMPARE(committed.first().at(1).value<PageRangeList>(), PageRangeList({{1, 3}, {1, 3}}));
        QVERIFY(m_view->isVisible());

        QTest::mouseClick(m_view->rangeList()->items().first()->findChild<QPushButton*>(StyleName::deletelabel), Qt::LeftButton);
        QVERIFY(m_view->pageRanges().ranges().isEmpty());
        QVERIFY(m_view->rangeList()->isEmpty());
        QVERIFY(!button(StyleName::buttonClear)->isVisible());
    }

    void unknownPageCountAcceptsNothing()
    {
        m_view->setTask(0, taskWith(0));
        QVERIFY(m_view->findChild<QLabel*>(StyleName::settingsLabel)->text().endsWith(QLatin1String(": ?")));
        add("1", "1");
        QVERIFY(shown().isEmpty());
        QVERIFY(!ok()->isEnabled());
    }

    void showsTheTasksRangesClean()
    {
        m_view->setTask(5, taskWith(10, {{2, 4}, {7, 7}}));
        QCOMPARE(shown(), QStringList({"2 - 4", "7"}));
        QCOMPARE(cancel()->text(), QStringLiteral("CLOSE"));
        QVERIFY(!ok()->isEnabled());
        QVERIFY(button(StyleName::buttonClear)->isVisible());
    }

    void cancelRevertsThenCloses()
    {
        m_view->setTask(1, taskWith(10, {{2, 4}}));
        QSignalSpy hide(m_view, &PageRangesView::onHideWindow);
        QSignalSpy committed(m_view, &PageRangesView::commit);
        QTest::mouseClick(button(StyleName::buttonClear), Qt::LeftButton);
        QVERIFY(shown().isEmpty());
        QCOMPARE(cancel()->text(), QStringLiteral("CANCEL"));
        QVERIFY(ok()->isEnabled());

        QTest::mouseClick(cancel(), Qt::LeftButton);
        QCOMPARE(shown(), QStringList({"2 - 4"}));
        QCOMPARE(cancel()->text(), QStringLiteral("CLOSE"));
        QCOMPARE(hide.count(), 0);
        QTest::mouseClick(cancel(), Qt::LeftButton);
        QCOMPARE(hide.count(), 1);

        // "OK" after "Clear all" commits the empty list: the whole document.
        QTest::mouseClick(button(StyleName::buttonClear), Qt::LeftButton);
        QTest::mouseClick(ok(), Qt::LeftButton);
        QCOMPARE(committed.count(), 1);
        QVERIFY(committed.first().at(1).value<PageRangeList>().isEmpty());
        QCOMPARE(cancel()->text(), QStringLiteral("CLOSE"));
    }

    // A new task replaces the limits, the lists and the id.
    void nextTaskStartsAfresh()
    {
        m_view->setTask(0, taskWith(10, {{1, 2}}));
        add("5", "6");
        m_view->setTask(3, taskWith(4));
        QVERIFY(shown().isEmpty());
        QCOMPARE(m_view->taskId(), 3);
        add("5", "6");
        QVERIFY(shown().isEmpty());
        QCOMPARE(cancel()->text(), QStringLiteral("CLOSE"));
    }
};

QTEST_MAIN(PageRangesViewTest)
#include "test_pagerangesview.moc"
