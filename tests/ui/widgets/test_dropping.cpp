// Start page and drop area sort and filter dropped files; the drop area's dialog goes through
// its seam; the flow layout wraps.
#include "ui/widgets/DropArea.h"
#include "ui/widgets/FlowLayout.h"
#include "ui/widgets/StartView.h"

#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

namespace {

QMimeData* urls(const QStringList& items)
{
    auto* data = new QMimeData;
    QList<QUrl> list;
    for (const QString& item : items)
        list << (item.contains(QLatin1String("://")) ? QUrl(item) : QUrl::fromLocalFile(item));
    data->setUrls(list);
    return data;
}

void drop(QWidget* target, const QStringList& items)
{
    std::unique_ptr<QMimeData> data(urls(items));
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    // Straight to the widget: the application only routes drops that a drag manager started.
    static_cast<QObject*>(target)->event(&event);
}

bool dragAccepted(QWidget* target, QMimeData* data)
{
    std::unique_ptr<QMimeData> owned(data);
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    event.setAccepted(false);
    static_cast<QObject*>(target)->event(&event);
    return event.isAccepted();
}

QLabel* fixedItem(int width)
{
    auto* label = new QLabel;
    label->setFixedSize(width, 20);
    return label;
}

} // namespace

class TestDropping : public QObject
{
    Q_OBJECT

private slots:
    void startPageSortsDrops_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QStringList>("pdfs");
        QTest::addColumn<QStringList>("media");
        const QStringList none;
        QTest::newRow("two pdfs in drop order") << QStringList{"/d/a.PDF", "/d/b.pdf"} << QStringList{"/d/a.PDF", "/d/b.pdf"} << none;
        QTest::newRow("pdf and docx mixed") << QStringList{"/d/a.pdf", "/d/b.docx"} << none << none;
        QTest::newRow("unsupported skipped") << QStringList{"/d/a.pdf", "/d/b.zip"} << QStringList{"/d/a.pdf"} << none;
        QTest::newRow("media") << QStringList{"/d/photo.JPG", "/d/book.epub", "/d/sheet.xlsx"} << none
                               << QStringList{"/d/photo.JPG", "/d/book.epub", "/d/sheet.xlsx"};
        QTest::newRow("nothing kept") << QStringList{"/d/notes.txt", "/d/folder", "https://example.org/a.pdf"} << none << none;
        QTest::newRow("last suffix counts") << QStringList{"/d/report.tar.pdf"} << QStringList{"/d/report.tar.pdf"} << none;
    }

    void startPageSortsDrops()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, pdfs);
        QFETCH(QStringList, media);
        StartView view;
        QSignalSpy pdfSpy(&view, &StartView::droppedPdfFiles);
        QSignalSpy mediaSpy(&view, &StartView::droppedMediaFiles);
        drop(&view, dropped);
        QCOMPARE(pdfSpy.count(), pdfs.isEmpty() ? 0 : 1);
        QCOMPARE(mediaSpy.count(), media.isEmpty() ? 0 : 1);
        if (!pdfs.isEmpty())
            QCOMPARE(pdfSpy.at(0).at(0).toStringList(), pdfs);
        if (!media.isEmpty())
            QCOMPARE(mediaSpy.at(0).at(0).toStringList(), media);
    }

    void onlyUriDragsAreTaken()
    {
        StartView view;
        DropArea area;
        auto* text = new QMimeData;
        text->setText(QStringLiteral("plain"));
        QVERIFY(!dragAccepted(&view, text));
        QVERIFY(dragAccepted(&view, urls({QStringLiteral("/d/a.pdf")})));
        auto* text2 = new QMimeData;
        text2->setText(QStringLiteral("plain"));
        QVERIFY(!dragAccepted(&area, text2));
        QVERIFY(dragAccepted(&area, urls({QStringLiteral("/d/a.pdf")})));
    }

    void dropAreaFiltersBySuffix()
    {
        DropArea area;
        area.setSuffixes({QStringLiteral("pdf")});
        QSignalSpy spy(&area, &DropArea::droppedFiles);
        drop(&area, {QStringLiteral("/d/notes.txt")});
        QCOMPARE(spy.count(), 0);
        drop(&area, {QStringLiteral("/d/A.PDF"), QStringLiteral("/d/x.txt"), QStringLiteral("/d/b.pdf")});
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList({QStringLiteral("/d/A.PDF"), QStringLiteral("/d/b.pdf")}));
        QCOMPARE(spy.at(0).at(1).toInt(), 1);
    }

    void dropAreaDialogGoesThroughSeam()
    {
        QString askedFilter;
        DropArea area(nullptr, [&](QWidget*, const QString&, const QString&, const QString& filter) {
            askedFilter = filter;
            return QStringList(); // the user cancelled
        });
        area.setFilter(QStringLiteral("Files (*.pdf)"));
        QSignalSpy spy(&area, &DropArea::droppedFiles);
        area.findChild<QPushButton*>(QStringLiteral("buttonAddPreview"))->click();
        QCOMPARE(askedFilter, QStringLiteral("Files (*.pdf)"));
        QCOMPARE(spy.count(), 1);
        QVERIFY(spy.at(0).at(0).toStringList().isEmpty());
        QCOMPARE(spy.at(0).at(1).toInt(), 2);
    }

    void dropAreaCaptions()
    {
        DropArea area;
        auto* big = area.findChild<QLabel*>(QStringLiteral("bigLabel"));
        QCOMPARE(big->text(), QStringLiteral("Add file"));
        QCOMPARE(area.findChild<QLabel*>(QStringLiteral("smallLabel"))->text(), QStringLiteral("or drag & drop"));
        area.setTitle(QStringLiteral("Add PDF File"));
        QCOMPARE(big->text(), QStringLiteral("Add PDF File"));
        area.setTitle(QString());
        QCOMPARE(big->text(), QString());
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&area, &change);
        QCOMPARE(big->text(), QStringLiteral("Add file"));
        area.addFormat(QStringLiteral("JPG, PNG"), QStringLiteral(":/style/images/formats_images.png"));
        QCOMPARE(area.findChild<QLabel*>(QStringLiteral("descriptionFormat"))->text(), QStringLiteral("JPG, PNG"));
    }

    void flowLayoutWraps()
    {
        QWidget host;
        auto* flow = new FlowLayout(&host, 0, 10, 10);
        QList<QLabel*> items;
        for (int i = 0; i < 3; ++i) {
            items << fixedItem(40);
            flow->addWidget(items.last());
        }
        flow->setGeometry(QRect(0, 0, 100, 200));
        QCOMPARE(items.at(0)->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(items.at(1)->geometry().topLeft(), QPoint(50, 0));
        QCOMPARE(items.at(2)->geometry().topLeft(), QPoint(0, 30));
        QCOMPARE(flow->heightForWidth(100), 20 + 10 + 20);
        // A wide item stays alone at the left of its row.
        auto* wide = fixedItem(300);
        flow->addWidget(wide);
        flow->setGeometry(QRect(0, 0, 100, 200));
        QCOMPARE(wide->geometry().topLeft(), QPoint(0, 60));
        QCOMPARE(flow->count(), 4);
        QVERIFY(flow->itemAt(4) == nullptr && flow->takeAt(-1) == nullptr);

        auto* margined = new FlowLayout(7, 10, 10);
        QWidget other;
        other.setLayout(margined);
        margined->addWidget(fixedItem(40));
        QCOMPARE(margined->heightForWidth(100), 20 + 14);
        QCOMPARE(margined->minimumSize(), QSize(40 + 14, 20 + 14));
    }
};

QTEST_MAIN(TestDropping)
#include "test_dropping.moc"
