// The table header: which presses sort, the sort arrow's turn, section painting with margins;
// the combo delegate paints items without focus.
#include "tests/ui/kit/PixelProbe.h"
#include "ui/widgets/TableHeader.h"

#include <QComboBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

namespace {
struct Table
{
    QStandardItemModel model{3, 4};
    QTableView view;
    TableHeaderView* header = new TableHeaderView(&view);
    TableHeaderDelegate* name = new TableHeaderDelegate(header, &view);
    TableHeaderDelegate* pages = new TableHeaderDelegate(header, &view);
    Table()
    {
        view.setModel(&model);
        header->setSortIndicatorShown(true);
        header->setSectionsClickable(true);
        view.setHorizontalHeader(header);
        name->setMargins(QMargins(8, 0, 8, 0));
        name->setSortable(true);
        name->setText(QStringLiteral("Filename"));
        pages->setText(QStringLiteral("Pages"));
        header->setSectionDelegate(1, name);
        header->setSectionDelegate(3, pages);
        for (int i = 0; i < 4; ++i)
            header->resizeSection(i, 120);
        view.resize(520, 200);
        view.show();
    }
    QPoint centreOf(int section) const
    {
        return QPoint(header->sectionViewportPosition(section) + 60, header->height() / 2);
    }
};

class FocusRecorder : public QProxyStyle
{
public:
    int itemsWithFocus = 0;
    int items = 0;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_ItemViewItem) {
            auto* self = const_cast<FocusRecorder*>(this);
            ++self->items;
            if (option->state & State_HasFocus)
                ++self->itemsWithFocus;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};
} // namespace

class TestTableHeader : public QObject
{
    Q_OBJECT

private slots:
    void pressesDecideSorting()
    {
        Table t;
        QVERIFY(QTest::qWaitForWindowExposed(&t.view));
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(1));
        QVERIFY(t.header->isSortIndicatorShown());
        QCOMPARE(t.header->sortIndicatorSection(), 1);
        const Qt::SortOrder first = t.header->sortIndicatorOrder();
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(1));
        QVERIFY(t.header->sortIndicatorOrder() != first);
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(1));
        QCOMPARE(t.header->sortIndicatorOrder(), first);

        // A column without delegate, or with one that does not sort, hides the indicator.
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(3));
        QVERIFY(!t.header->isSortIndicatorShown());
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(1));
        QTest::mouseClick(t.header->viewport(), Qt::LeftButton, Qt::NoModifier, t.centreOf(0));
        QVERIFY(!t.header->isSortIndicatorShown());
    }

    void sectionPaintsCaptionLineAndArrow()
    {
        QHeaderView header(Qt::Horizontal);
        header.setSortIndicator(1, Qt::AscendingOrder);
        TableHeaderDelegate delegate(&header);
        delegate.setText(QStringLiteral("Filename"));
        delegate.setMargins(QMargins(8, 0, 8, 0));
        delegate.setSortable(true);

        QImage image(200, 35, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setPen(QColor(255, 0, 0));
        QFont font = painter.font();
        font.setPixelSize(16);
        painter.setFont(font);
        const int textWidth = painter.fontMetrics().size(Qt::TextSingleLine, delegate.text()).width();
        delegate.paint(&painter, QRect(0, 0, 200, 35), 1);
        painter.end();

        QCOMPARE(image.pixelColor(199, 0), QColor(Qt::white));                  // background
        QCOMPARE(image.pixelColor(100, 34), QColor(QStringLiteral("#ababab"))); // bottom line
        const int caption = PixelProbe::firstColumn(image, QColor(255, 0, 0), 60);
        QVERIFY2(caption >= 8 && caption <= 10, qPrintable(QString::number(caption)));
        // The arrow (accent coloured) starts 5 px after the caption's measured width; its
        // first columns are only partly covered.
        const int arrow = PixelProbe::firstColumn(image.copy(8 + textWidth, 0, 40, 35), QColor(0x96, 0x2A, 0x70), 40);
        QVERIFY2(arrow >= 5 && arrow <= 8, qPrintable(QString::number(arrow)));

        // A section that is neither sortable nor the indicator's shows no arrow.
        delegate.setSortable(false);
        QImage plain(200, 35, QImage::Format_ARGB32);
        QPainter p2(&plain);
        delegate.paint(&p2, QRect(0, 0, 200, 35), 2);
        p2.end();
        QCOMPARE(PixelProbe::count(plain, QColor(0x96, 0x2A, 0x70), QRect(), 40), 0);
    }

    void comboItemsNeverShowFocus()
    {
        // A widget does not own the style it is given: the recorder outlives the combo box.
        FocusRecorder recorder;
        QComboBox combo;
        combo.setStyle(&recorder);
        combo.addItems({QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")});
        ComboBoxItemDelegate delegate;
        QStyleOptionViewItem option;
        option.initFrom(&combo);
        option.widget = &combo;
        option.rect = QRect(0, 0, 200, 30);
        option.state |= QStyle::State_HasFocus | QStyle::State_Selected;
        QImage image(200, 30, QImage::Format_ARGB32);
        QPainter painter(&image);
        delegate.paint(&painter, option, combo.model()->index(1, 0));
        QCOMPARE(recorder.items, 1);
        QCOMPARE(recorder.itemsWithFocus, 0);
    }
};

QTEST_MAIN(TestTableHeader)
#include "test_tableheader.moc"
