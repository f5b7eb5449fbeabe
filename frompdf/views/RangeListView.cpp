#include "frompdf/views/RangeListView.h"

#include "frompdf/views/PlainScrollArea.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/FlowLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

RangeItemView::RangeItemView(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(StyleName::pageitemview);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    m_label = new QLabel(this);
    m_remove = namedButton(StyleName::deletelabel, this);
    layout->addWidget(m_label);
    layout->addWidget(m_remove);
    connect(m_remove, &QPushButton::clicked, this, &RangeItemView::buttonRemove);
}

void RangeItemView::setRange(int from, int to)
{
    m_first = from;
    m_last = to;
    m_label->setText(from == to ? QStringLiteral("%1").arg(from) : QStringLiteral("%1 - %2").arg(from).arg(to));
}

QString RangeItemView::text() const
{
    return m_label->text();
}

void RangeItemView::buttonRemove()
{
    hide();
    emit onRemove();
    emit removed(range());
    deleteLater();
}

RangeListView::RangeListView(QWidget* parent)
    : QFrame(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scrollArea = makePlainScrollArea(this, StyleName::scrollPageItems, StyleName::scrollBarPageItems);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The items lie on the panel's dark box: neither the viewport nor the content paints a ground.
    m_scrollArea->viewport()->setAutoFillBackground(false);
    auto* content = new QWidget(m_scrollArea);
    content->setObjectName(QStringLiteral("pageItems"));
    m_layout = new FlowLayout(content, 0, 10, 10);
    m_scrollArea->setWidget(content);
    // setWidget() makes the content fill its ground; it must not here.
    content->setAutoFillBackground(false);
    layout->addWidget(m_scrollArea);
}

QList<RangeItemView*> RangeListView::items() const
{
    QList<RangeItemView*> shown;
    for (int i = 0; i < m_layout->count(); ++i) {
        auto* item = qobject_cast<RangeItemView*>(m_layout->itemAt(i)->widget());
        // A removed item hides itself at once and leaves the layout when it is deleted.
        if (item && !item->isHidden())
            shown << item;
    }
    return shown;
}

bool RangeListView::contains(int from, int to) const
{
    for (RangeItemView* item : items()) {
        if (item->range() == qMakePair(from, to))
            return true;
    }
    return false;
}

void RangeListView::addItem(int from, int to)
{
    if (to < from || contains(from, to))
        return;
    auto* item = new RangeItemView(m_scrollArea->widget());
    item->setRange(from, to);
    item->show();
    connect(item, &RangeItemView::onRemove, this, &RangeListView::onRemovedItem);
    connect(item, &RangeItemView::removed, this, &RangeListView::removedItem);
    m_layout->addWidget(item);
    m_scrollArea->widget()->resize(m_scrollArea->widget()->sizeHint());
    m_empty = false;
    emit changed();
    QTimer::singleShot(100, this, &RangeListView::scrollDown);
}

void RangeListView::clear()
{
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    update();
    m_empty = true;
    emit changed();
}

void RangeListView::onRemovedItem()
{
    m_layout->update();
    m_empty = items().isEmpty();
    emit changed();
}

void RangeListView::scrollDown()
{
    m_scrollArea->verticalScrollBar()->setValue(m_scrollArea->verticalScrollBar()->maximum());
}
