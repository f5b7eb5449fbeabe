#include "ui/widgets/TableHeader.h"

#include "app/core/Logger.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

TableHeaderDelegate::TableHeaderDelegate(QHeaderView* header, QObject* parent)
    : QObject(parent)
    , m_header(header)
{
    initStyleResources();
    m_ascending = QPixmap(QStringLiteral(":/style/images/SortUp.png"));
    m_descending = QPixmap(QStringLiteral(":/style/images/SortDown.png"));
}

void TableHeaderDelegate::paint(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->fillRect(rect, m_background);
    const QRect caption = rect.adjusted(m_margins.left(), m_margins.top(), -m_margins.right(), -m_margins.bottom());
    painter->drawText(caption, int(m_alignment), m_text);

    QPen pen = painter->pen();
    pen.setWidthF(m_lineWidth);
    pen.setColor(m_lineColor);
    painter->setPen(pen);
    if (m_bottomLine)
        painter->drawLine(rect.left(), rect.bottom(), rect.right() + 1, rect.bottom());

    const bool indicated = m_header && m_header->isSortIndicatorShown() && m_header->sortIndicatorSection() == logicalIndex;
    if (!indicated && !m_sortable)
        return;
    const Qt::SortOrder order = m_header ? m_header->sortIndicatorOrder() : Qt::AscendingOrder;
    const int textWidth = painter->fontMetrics().size(Qt::TextSingleLine, m_text).width();
    const int x = caption.left() + textWidth + 5;
    const int y = (rect.top() + rect.bottom()) / 2 - m_descending.height() / 2;
    painter->drawPixmap(x, y, order == Qt::AscendingOrder ? m_ascending : m_descending);
}

TableHeaderView::TableHeaderView(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

void TableHeaderView::setSectionDelegate(int column, TableHeaderDelegate* delegate)
{
    m_delegates.insert(column, delegate);
}

void TableHeaderView::mousePressEvent(QMouseEvent* event)
{
    const int column = visualIndexAt(event->pos().x());
    Logger::instance()->log(QStringLiteral("%1 column: %2").arg(QLatin1String(Q_FUNC_INFO)).arg(column), Logger::Debug);
    TableHeaderDelegate* delegate = m_delegates.value(column);
    if (delegate && delegate->isSortable()) {
        setSectionsClickable(true);
        setSortIndicator(column, sortIndicatorOrder());
        setSortIndicatorShown(true);
    } else {
        setSortIndicatorShown(false);
    }
    QHeaderView::mousePressEvent(event);
}

void TableHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    if (TableHeaderDelegate* delegate = m_delegates.value(logicalIndex))
        delegate->paint(painter, rect, logicalIndex);
    else
        QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
}

ComboBoxItemDelegate::ComboBoxItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent) {}

void ComboBoxItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text = index.data(Qt::DisplayRole).toString();
    item.state &= ~QStyle::State_HasFocus;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
}
