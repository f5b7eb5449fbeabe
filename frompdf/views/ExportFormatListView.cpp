#include "frompdf/views/ExportFormatListView.h"

#include "frompdf/model/ExportFormatModel.h"
#include "ui/kit/StyleNames.h"

#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

ExportFormatDelegate::ExportFormatDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QSize ExportFormatDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(65, 30);
}

void ExportFormatDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    const QRect row = option.rect.adjusted(1, 0, -12, 0);
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled
                                           ? (option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive)
                                           : QPalette::Disabled;
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        painter->fillRect(row, option.palette.brush(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(group, QPalette::Text));
    }
    painter->drawText(option.rect.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    if (index.row() != index.model()->rowCount() - 1) {
        painter->setPen(QPen(QBrush(QColor(0xD7, 0xD8, 0xD9)), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter->drawLine(row.bottomLeft(), row.bottomRight());
    }
    painter->restore();
}

ExportFormatListView::ExportFormatListView(QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setFixedSize(65, 245);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QListView(this);
    m_list->setObjectName(StyleName::exportFormatListView);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMouseTracking(true);
    auto* scrollBar = new QScrollBar(Qt::Vertical, m_list);
    scrollBar->setObjectName(StyleName::exportFormatScrollbar);
    m_list->setVerticalScrollBar(scrollBar);
    m_list->setItemDelegate(new ExportFormatDelegate(m_list));
    layout->addWidget(m_list, 1);
    layout->addStretch();

    m_model = new ExportFormatModel(m_list);
    m_list->setModel(m_model);
    connect(m_list, &QListView::clicked, this, &ExportFormatListView::onPicked);
}

void ExportFormatListView::setCurrentFormat(const QString& format)
{
    const int row = m_model->rowOf(format);
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void ExportFormatListView::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    // Laid out only now: scrolling earlier would put the current row at the top for nothing.
    const QModelIndexList rows = m_list->selectionModel()->selectedIndexes();
    if (!rows.isEmpty())
        m_list->scrollTo(rows.first(), QAbstractItemView::EnsureVisible);
}

QString ExportFormatListView::currentFormat() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

void ExportFormatListView::onPicked(const QModelIndex& index)
{
    emit formatSelected(m_id, index.data(Qt::DisplayRole).toString());
    m_selected = true;
    close();
}

void ExportFormatListView::dismiss()
{
    if (m_closed)
        return;
    if (!m_dismissed && !m_selected) {
        m_dismissed = true;
        emit onFocusOut();
    }
    close();
}

void ExportFormatListView::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_closed)
        return;
    m_closed = true;
    emit onClose(m_selected);
}

void ExportFormatListView::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    if (isVisible())
        dismiss();
}

void ExportFormatListView::mousePressEvent(QMouseEvent* event)
{
    // A pop-up gets the press that lands outside it: that dismisses it.
    if (!rect().contains(event->pos())) {
        dismiss();
        return;
    }
    QFrame::mousePressEvent(event);
}

void ExportFormatListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        return;
    }
    QFrame::keyPressEvent(event);
}
