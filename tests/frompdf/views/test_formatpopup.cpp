#include "frompdf/model/ExportFormatModel.h"
#include "frompdf/views/ExportFormatListView.h"

#include <QListView>
#include <QPointer>
#include <QtTest>

class FormatPopupTest : public QObject
{
    Q_OBJECT

private slots:
    void offersTwelveFormatsWithoutTxt()
    {
        ExportFormatModel model;
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.data(model.index(row)).toString();
        QCOMPARE(shown, QStringList({"doc", "docx", "rtf", "odt", "jpg", "png", "bmp", "tiff", "gif", "eps", "html", "wmf"}));
        QCOMPARE(model.rowOf(QStringLiteral("txt")), -1);
        QVERIFY(!model.data(model.index(12)).isValid());
    }

    void pickReportsTheFormatThenCloses()
    {
        QPointer<ExportFormatListView> popup = new ExportFormatListView;
        popup->setId(4);
        popup->setCurrentFormat(QStringLiteral("png"));
        QCOMPARE(popup->currentFormat(), QStringLiteral("png"));
        popup->show();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QCOMPARE(popup->size(), QSize(65, 245));

        QStringList events;
        connect(popup, &ExportFormatListView::formatSelected, this,
                [&](int id, const QString& format) { events << QStringLiteral("selected %1 %2").arg(id).arg(format); });
        connect(popup, &ExportFormatListView::onClose, this,
                [&](bool picked) { events << QStringLiteral("close %1").arg(picked); });
        connect(popup, &ExportFormatListView::onFocusOut, this, [&] { events << QStringLiteral("focus out"); });

        QListView* list = popup->listView();
        const QModelIndex docx = list->model()->index(1, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(docx).center());
        QCOMPARE(events, QStringList({"selected 4 docx", "close 1"}));
        QTRY_VERIFY(popup.isNull());
    }

    void clickElsewhereDismisses()
    {
        QPointer<ExportFormatListView> popup = new ExportFormatListView;
        popup->setCurrentFormat(QStringLiteral("txt"));
        QVERIFY(popup->currentFormat().isEmpty());
        popup->show();
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QStringList events;
        connect(popup, &ExportFormatListView::formatSelected, this, [&] { events << QStringLiteral("selected"); });
        connect(popup, &ExportFormatListView::onClose, this,
                [&](bool picked) { events << QStringLiteral("close %1").arg(picked); });
        connect(popup, &ExportFormatListView::onFocusOut, this, [&] { events << QStringLiteral("focus out"); });

        QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(200, 20));
        QCOMPARE(events, QStringList({"focus out", "close 0"}));
        QTRY_VERIFY(popup.isNull());
    }
};

QTEST_MAIN(FormatPopupTest)
#include "test_formatpopup.moc"
