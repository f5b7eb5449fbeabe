#include "app/core/UserContext.h"
#include "tests/ui/kit/PixelProbe.h"
#include "topdf/model/ToPDFModel.h"
#include "topdf/views/ToPDFDelegateStyle.h"
#include "topdf/views/ToPDFTable.h"
#include "ui/kit/Style.h"

#include <QHeaderView>
#include <QMimeData>
#include <QtTest>

namespace {

const QColor selectionGreen(0x8C, 0xC6, 0x54);
const QColor grey(0x8C, 0x8C, 0x8C);

ToPDFTask makeTask(const QString& path)
{
    ToPDFTask task;
    task.file = QFileInfo(path);
    return task;
}

QImage cellImage(ToPDFTable& table, int row, int column)
{
    return table.viewport()->grab().toImage().copy(table.visualRect(table.model()->index(row, column)));
}

// A table as the tab shows it: 631 pixels wide, the supported formats of the "To PDF" side.
void showTable(ToPDFTable& table)
{
    table.setSupportedFormats(UserContext().supportedFormats());
    table.resize(631, 264);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
}

} // namespace

class ToPdfTableTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { loadStyleSheet(); }

    void sizesColumnsToTheViewport()
    {
        ToPDFModel model;
        ToPDFTable table(&model);
        showTable(table);
        const int width = table.viewport()->width();
        QList<int> widths;
        for (int column = 0; column < 5; ++column)
            widths << table.columnWidth(column);
        QCOMPARE(widths, QList<int>({29, width - 168, 49, 41, 49}));
        QCOMPARE(table.verticalHeader()->defaultSectionSize(), 28);
    }

    // Only local files of supported formats pass (any case); a drop that keeps none says so with
    // an empty list, an empty URL list does nothing, and a row dragged inside is no file drop.
    void handsOnOnlySupportedFiles()
    {
        ToPDFModel model;
        model.addTasks({makeTask("/d/a.docx"), makeTask("/d/b.png")});
        ToPDFTable table(&model);
        showTable(table);
        QSignalSpy dropped(&table, &ToPDFTable::droppedFiles);
        const QPoint at = table.visualRect(model.index(0, 1)).center();
        const auto drop = [&](const QMimeData& data) {
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(table.viewport(), &enter);
            QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(table.viewport(), &event);
            return enter.isAccepted();
        };

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/home/u/a.pdf"), QUrl::fromLocalFile("/home/u/Report.Docx"),
                       QUrl::fromLocalFile("/home/u/folder"), QUrl(QStringLiteral("https://example.com/page.html")),
                       QUrl::fromLocalFile("/home/u/scan.TIF")});
        QVERIFY(drop(files));
        QMimeData unsupported;
        unsupported.setUrls({QUrl::fromLocalFile("/home/u/notes.txt")});
        drop(unsupported);
        QMimeData empty;
        empty.setUrls({});
        drop(empty);
        QScopedPointer<QMimeData> row(model.mimeData({model.index(1, 0)}));
        drop(*row);

        QCOMPARE(dropped.count(), 2);
        QCOMPARE(dropped.at(0).first().toStringList(), QStringList({"/home/u/Report.Docx", "/home/u/scan.TIF"}));
        QCOMPARE(dropped.at(1).first().toStringList(), QStringList());
        QCOMPARE(model.rowCount(), 2);
    }

    // After a row moved by dragging, the view clears the dragged cells (in overwrite mode) instead
    // of removing the dragged rows, which would take the moved row away: the model clears nothing.
    void internalMoveLosesNoRow()
    {
        ToPDFModel model;
        model.addTasks({makeTask("/d/a.docx"), makeTask("/d/b.docx"), makeTask("/d/c.docx")});
        ToPDFTable table(&model);
        showTable(table);
        QCOMPARE(table.dragDropMode(), QAbstractItemView::InternalMove);
        QVERIFY(table.dragDropOverwriteMode());
        table.selectRow(0);
        QScopedPointer<QMimeData> row(model.mimeData(table.selectionModel()->selectedIndexes()));
        QVERIFY(model.dropMimeData(row.data(), Qt::MoveAction, -1, -1, model.index(2, 0)));
        for (const QModelIndex& index : table.selectionModel()->selectedIndexes())
            model.setItemData(index, {{Qt::DisplayRole, QVariant()}});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.task(2).file.fileName(), QStringLiteral("a.docx"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("b"));
    }

    // The sheet's pictures reach the delegate through the style widget; a selected row is
    // highlighted only when there is more than one.
    void paintsRowsInTheSheetsLook()
    {
        ToPDFModel model;
        model.addTasks({makeTask("/d/a.docx")});
        ToPDFTable table(&model);
        showTable(table);
        QCOMPARE(table.delegateStyle()->buttonSettingsNormal(), QStringLiteral(":/style/images/tablesettingsnormal.png"));
        QCOMPARE(table.delegateStyle()->buttonRemoveFocusPressed(), QStringLiteral(":/style/images/tabledeletefocuspressed.png"));
        table.selectRow(0);
        QCOMPARE(PixelProbe::count(cellImage(table, 0, 1), selectionGreen), 0);
        QVERIFY(PixelProbe::count(cellImage(table, 0, 3), grey) > 0);
        QVERIFY(PixelProbe::count(cellImage(table, 0, 4), grey) > 0);

        model.addTasks({makeTask("/d/b.docx")});
        table.selectRow(0);
        for (int column = 0; column < 5; ++column)
            QVERIFY(PixelProbe::count(cellImage(table, 0, column), selectionGreen) > 100);
        QCOMPARE(PixelProbe::count(cellImage(table, 1, 1), selectionGreen), 0);
        // The selected row's buttons are the white "focus" pictures.
        const QImage settings(table.delegateStyle()->buttonSettingsFocusNormal());
        const QImage cell = cellImage(table, 0, 3);
        const QPoint corner((cell.width() - settings.width()) / 2, (cell.height() - settings.height()) / 2);
        QVERIFY(PixelProbe::sameWhereOpaque(cell.copy(QRect(corner, settings.size())), settings));
    }
};

QTEST_MAIN(ToPdfTableTest)
#include "test_topdftable.moc"
