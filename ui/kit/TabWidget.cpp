#include "ui/kit/TabWidget.h"

#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStackedLayout>
#include <QStyleOption>
#include <QVBoxLayout>

TabWidget::TabWidget(QWidget* parent)
    : QWidget(parent)
    , m_barLabelName(StyleName::labelTabBar)
{
    build(StyleName::tabWidget);
}

TabWidget::TabWidget(const QString& objectName, const QString& barLabelName, QWidget* parent)
    : QWidget(parent)
    , m_barLabelName(barLabelName)
{
    build(objectName);
}

void TabWidget::build(const QString& objectName)
{
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Until a page with a button is current the bar shows no line.
    m_barLabel = new QLabel(this);
    m_barLabel->setObjectName(StyleName::labelTabBarHide);
    m_barRow = new QHBoxLayout(m_barLabel);
    m_barRow->setAlignment(Qt::AlignTop);
    m_barRow->setSpacing(0);
    m_barRow->setContentsMargins(0, 0, 0, 0);
    m_barRow->addStretch();

    m_pages = new QStackedLayout;
    layout->addWidget(m_barLabel);
    layout->addLayout(m_pages);
}

QWidget* TabWidget::barLabel() const
{
    return m_barLabel;
}

int TabWidget::insertTab(QWidget* page, int index, TabButton* button)
{
    if (button) {
        button->setIndex(index);
        m_barRow->insertWidget(m_buttons.size(), button);
        m_buttons.insert(m_pageCount, button);
        connect(button, SIGNAL(clicked(int)), this, SLOT(tabButtonClicked(int)));
        connect(button, &TabButton::beginClicked, this, [this](int i) { emit beginIndexChanged(i); });
    }
    const int result = m_pages->insertWidget(index, page);
    ++m_pageCount;
    return result;
}

void TabWidget::addBarWidget(QWidget* widget, Qt::Alignment alignment)
{
    m_barRow->addWidget(widget, 0, alignment);
}

void TabWidget::tabButtonClicked(int index)
{
    if (index >= 0 && index < m_pageCount)
        setCurrentIndex(index);
}

void TabWidget::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_pageCount)
        return;
    m_currentIndex = index;
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        it.value()->setChecked(it.key() == index);
        it.value()->raise();
    }
    if (m_buttons.contains(index)) {
        m_barLabel->setObjectName(m_barLabelName);
        repolish(m_barLabel);
    }
    m_pages->setCurrentIndex(index);
    emit currentIndexChanged(index);
}

void TabWidget::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
