#include "frompdf/checkview/CheckView.h"

#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(const QString& objectName, QWidget* parent)
{
    // The kit's button: the style sheet gives it its text colours by state.
    auto* button = new Button(parent);
    button->setObjectName(objectName);
    button->setMinimumWidth(100);
    button->setFixedHeight(42);
    return button;
}

} // namespace

CheckView::CheckView(QWidget* parent)
    : FramelessDialog({StyleName::checkocrview, QSize(380, 190), QMargins(9, 0, 8, 9)}, parent)
{
    setMinimumSize(380, 190);
    setWindowIcon(QIcon(QStringLiteral(":/style/images/AppIconPdf256.png")));

    m_message = new QLabel(frame());
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    contentLayout()->addWidget(m_message, 1);

    m_applyToAll = new QCheckBox(frame());
    m_applyToAll->setObjectName(StyleName::checkBoxOcr);
    contentLayout()->addWidget(m_applyToAll, 0, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    m_withoutOcr = makeButton(StyleName::checkocrview__button_without_ocr, frame());
    m_withoutOcr->setDefault(true);
    buttons->addWidget(m_withoutOcr);
    m_useOcr = makeButton(StyleName::checkocrview__button_use_ocr, frame());
    buttons->addWidget(m_useOcr);
    contentLayout()->addLayout(buttons);

    connect(m_withoutOcr, &QPushButton::clicked, this, &CheckView::onWithoutOcr);
    connect(m_useOcr, &QPushButton::clicked, this, &CheckView::onUseOcr);
    connect(windowBar(), &WindowBar::closeWindow, this, &QDialog::reject);
    retranslate();
}

void CheckView::setTitle(const QString& title)
{
    windowBar()->setTitle(title);
}

void CheckView::setText(const QString& text)
{
    m_message->setText(text);
}

void CheckView::setUseOcrText(const QString& text)
{
    m_useOcr->setText(text);
}

void CheckView::setWithoutOcrText(const QString& text)
{
    m_withoutOcr->setText(text);
}

int CheckView::resultCode() const
{
    return m_resultCode;
}

bool CheckView::isApplyToAllChecked() const
{
    return m_applyToAll->isChecked();
}

void CheckView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    FramelessDialog::changeEvent(event);
}

void CheckView::onUseOcr()
{
    m_resultCode = 1;
    accept();
}

void CheckView::onWithoutOcr()
{
    m_resultCode = 0;
    accept();
}

void CheckView::retranslate()
{
    m_applyToAll->setText(tr("Apply for all"));
}
