#include "frompdf/model/FromPDFModel.h"
#include "frompdf/views/FromPDFDelegateStyle.h"
#include "frompdf/views/FromPDFTable.h"
#include "tests/ui/kit/PixelProbe.h"
#include "ui/kit/Style.h"

#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

namespace {

const QColor selectionGreen(0x8C, 0xC6, 0x54);
const QColor link(0x58, 0x90, 0xDB);
const QColor accent(0x96, 0x2A, 0x70);

FromPDFTask makeTask(const QString& name, const QString& format = QStringLiteral("doc"))
{
    FromPDFTask task;
    task.file = QFileInfo(QStringLiteral("/docs/") + name);
    task.pageCount = 3;
    task.setFormat(format);
    return task;
}

QImage cellImage(FromPDFTable& table, int row, int column)
{
    const QImage shot = table.viewport()->grab().toImage();
    return shot.copy(table.visualRect(table.model()->index(row, column)));
}

} // namespace

class FromPDFTableTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { loadStyleSheet(); }

    void sizesColumnsToTheViewport()
    {
        FromPDFModel model;
        FromPDFTable table(&model);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        table.resize(700 + table.width() - table.contentsRect().width(), 264);
        QCOMPARE(table.viewport()->width(), 700);
        QCOMPARE(table.columnWidth(1), 314);
        const QList<int> others = {29, 25, 127, 40, 53, 63, 49};
        QList<int> widths;
        for (int column : {0, 2, 3, 4, 5, 6, 7})
            widths << table.columnWidth(column);
        QCOMPARE(widths, others);

        // Once the rows need the scroll bar, it lies over them: the columns keep their widths.
        FromPDFTaskList many;
        for (int i = 0; i < 30; ++i)
            many << makeTask(QStringLiteral("file%1.pdf").arg(i));
        model.add(many);
        QTRY_VERIFY(table.verticalScrollBar()->isVisible());
        QTRY_COMPARE(table.viewport()->width(), 700);
        QCOMPARE(table.columnWidth(1), 314);
        QCOMPARE(table.horizontalHeader()->width(), 700);
        QCOMPARE(table.verticalHeader()->defaultSectionSize(), 28);
    }

    void handsDroppedFilesOn()
    {
        FromPDFModel model;
        model.add({makeTask("a.pdf"), makeTask("b.pdf")});
        FromPDFTable table(&model);
        table.resize(631, 264);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QSignalSpy dropped(&table, &FromPDFTable::droppedFiles);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/home/u/one.pdf"), QUrl::fromLocalFile("/home/u/notes.txt")});
        const QPoint at = table.visualRect(model.index(0, 1)).center();
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.first().first().toStringList(), QStringList({"/home/u/one.pdf", "/home/u/notes.txt"}));

        // Row data is the model's business, not a file drop; an empty URL list is nothing.
        QScopedPointer<QMimeData> rows(model.mimeData({model.index(1, 0)}));
        QDropEvent rowDrop(at, Qt::MoveAction, rows.data(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &rowDrop);
        QMimeData empty;
        empty.setUrls({});
        QDropEvent emptyDrop(at, Qt::CopyAction, &empty, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &emptyDrop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(model.task(0).file.fileName(), QStringLiteral("a.pdf"));
    }

    // The sheet's pictures reach the delegate through the style widget, and a selected row is
    // highlighted only when there is more than one.
    void paintsRowsInTheSheetsLook()
    {
        FromPDFModel model;
        FromPDFTask locked = makeTask("locked.pdf", QStringLiteral("wmf"));
        locked.passwordRequired = true;
        locked.split = false;
        model.add({locked});
        FromPDFTable table(&model);
        table.resize(631, 264);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QCOMPARE(table.delegateStyle()->checkBoxCheckedNormal(), QStringLiteral(":/style/images/checkchecked.png"));
        QCOMPARE(table.delegateStyle()->buttonRemoveFocusPressed(), QStringLiteral(":/style/images/tabledeletefocuspressed.png"));

        table.selectRow(0);
        QCOMPARE(PixelProbe::count(cellImage(table, 0, 1), selectionGreen), 0);
        // The check picture of a forced split row is the checked one.
        QVERIFY(PixelProbe::count(cellImage(table, 0, 5), accent) > 200);
        // "Enter" in the link colour, the preview and remove pictures in grey.
        QVERIFY(PixelProbe::count(cellImage(table, 0, 6), link) > 0);
        QVERIFY(PixelProbe::count(cellImage(table, 0, 2), QColor(0x8C, 0x8C, 0x8C)) > 0);
        QVERIFY(PixelProbe::count(cellImage(table, 0, 7), QColor(0x8C, 0x8C, 0x8C)) > 0);

        FromPDFTask open = makeTask("open.pdf");
        model.add({open});
        table.selectRow(0);
        QVERIFY(PixelProbe::count(cellImage(table, 0, 1), selectionGreen) > 100);
        QCOMPARE(PixelProbe::count(cellImage(table, 1, 1), selectionGreen), 0);
        QCOMPARE(PixelProbe::count(cellImage(table, 1, 5), accent), 0);
        // The password cell of an open row says "ok" in the plain text colour.
        QCOMPARE(PixelProbe::count(cellImage(table, 1, 6), link), 0);
    }
};

QTEST_MAIN(FromPDFTableTest)
#include "test_frompdftable.moc"
