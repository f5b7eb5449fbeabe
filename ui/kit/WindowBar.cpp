#include "ui/kit/WindowBar.h"

#include "resources/Resources.h"
#include "ui/kit/ElidedLabel.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

WindowBar::WindowBar(QWidget* parent)
    : QFrame(parent)
{
    initStyleResources();
    m_icon = new QLabel(this);
    const QPixmap icon(QStringLiteral(":/style/images/icon16.png"));
    m_icon->setPixmap(icon);
    m_icon->setFixedSize(icon.size());

    m_title = new ElidedLabel(this);
    m_title->setObjectName(StyleName::windowBarLabel);
    m_title->setAlignment(Qt::AlignCenter);

    m_minimize = new QPushButton(this);
    m_minimize->setObjectName(StyleName::windowMinimize);
    m_maximize = new QPushButton(this);
    m_maximize->setObjectName(StyleName::windowMaximize);
    m_close = new QPushButton(this);
    m_close->setObjectName(StyleName::windowClose);
    for (QPushButton* button : {m_minimize, m_maximize, m_close})
        button->setFocusPolicy(Qt::NoFocus);

    m_layout = new QGridLayout(this);
    QGridLayout* layout = m_layout;
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_icon, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(m_title, 0, 1, Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    buttons->addWidget(m_minimize);
    buttons->addWidget(m_maximize);
    buttons->addWidget(m_close);
    layout->addLayout(buttons, 0, 2, Qt::AlignRight | Qt::AlignTop);
    layout->setColumnStretch(1, 1);

    connect(m_minimize, SIGNAL(clicked()), this, SLOT(onButtonMinimize()));
    connect(m_close, SIGNAL(clicked()), this, SLOT(onButtonClose()));
    connect(m_maximize, SIGNAL(clicked()), this, SLOT(onButtonMaximize()));
    setFixedHeight(22);
}

void WindowBar::setTitle(const QString& title)
{
    m_title->setText(title);
}

QString WindowBar::title() const
{
    return m_title->text();
}

void WindowBar::hideMaximizeButton(bool hide)
{
    m_maximize->setVisible(!hide);
    balanceColumns();
}

void WindowBar::hideMinimizeButton(bool hide)
{
    m_minimize->setVisible(!hide);
    balanceColumns();
}

// The side columns are equally wide, so the title stays centred in the bar.
void WindowBar::balanceColumns()
{
    int buttons = 0;
    for (QPushButton* button : {m_minimize, m_maximize, m_close}) {
        if (!button->isHidden())
            buttons += button->sizeHint().width();
    }
    const int side = std::max(m_icon->width(), buttons);
    m_layout->setColumnMinimumWidth(0, side);
    m_layout->setColumnMinimumWidth(2, side);
}

void WindowBar::showEvent(QShowEvent* event)
{
    // The style sheet has sized the buttons by now.
    balanceColumns();
    QFrame::showEvent(event);
}

void WindowBar::setMaximized(bool maximazed)
{
    m_maximize->setObjectName(maximazed ? StyleName::windowMaximized : StyleName::windowMaximize);
    repolish(m_maximize);
}

void WindowBar::onButtonMinimize()
{
    emit minimizeWindow();
}

void WindowBar::onButtonClose()
{
    emit closeWindow();
}

void WindowBar::onButtonMaximize()
{
    emit maximizeWindow();
}

void WindowBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit maximizeWindow();
    QFrame::mouseDoubleClickEvent(event);
}
