#include "ui/widgets/MessagePassword.h"

#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

MessagePassword::MessagePassword(QWidget* parent)
    : FramelessDialog({StyleName::messagePassword, QSize(380, 190), QMargins(9, 0, 8, 9)}, parent,
                      Qt::Window | Qt::FramelessWindowHint)
{
    setWindowIcon(QIcon(QStringLiteral(":/style/images/AppIconPdf256.png")));
    m_ok = new Button(frame());
    m_ok->setObjectName(StyleName::buttonOk);
    m_ok->setFixedSize(100, 42);
    m_ok->setDefault(true);
    m_skipButton = new Button(frame());
    m_skipAllButton = new Button(frame());
    for (Button* skip : {m_skipButton, m_skipAllButton}) {
        skip->setObjectName(StyleName::buttonSkip);
        skip->setFixedHeight(42);
        skip->setMinimumWidth(100);
        skip->setVisible(false);
    }
    m_passwordLabel = new QLabel(frame());
    m_passwordLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_message = new QLabel(frame());
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_edit = new QLineEdit(frame());
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setObjectName(StyleName::inputEdit);
    m_edit->setFixedHeight(32);

    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_passwordLabel, 0);
    passwordRow->addWidget(m_edit, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addStretch();
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_skipButton);
    buttonRow->addWidget(m_skipAllButton);
    buttonRow->addStretch();

    contentLayout()->addStretch();
    contentLayout()->addWidget(m_message);
    contentLayout()->addStretch();
    contentLayout()->addLayout(passwordRow);
    contentLayout()->addStretch();
    contentLayout()->addLayout(buttonRow);

    retranslate();
    connect(m_ok, SIGNAL(clicked()), this, SLOT(accept()));
    connect(windowBar(), SIGNAL(closeWindow()), this, SLOT(reject()));
    connect(m_skipButton, SIGNAL(clicked()), this, SLOT(buttonSkip()));
    connect(m_skipAllButton, SIGNAL(clicked()), this, SLOT(buttonSkipAll()));
}

QString MessagePassword::password() const
{
    return m_edit->text();
}

void MessagePassword::setText(const QString& text)
{
    m_message->setText(text);
}

void MessagePassword::setSkipVisible(bool visible)
{
    m_skipButton->setVisible(visible);
}

void MessagePassword::setSkipAllVisible(bool visible)
{
    m_skipAllButton->setVisible(visible);
}

void MessagePassword::buttonSkip()
{
    m_skip = true;
    accept();
}

void MessagePassword::buttonSkipAll()
{
    m_skipAll = true;
    accept();
}

void MessagePassword::showEvent(QShowEvent* event)
{
    FramelessDialog::showEvent(event);
    m_edit->setFocus(Qt::OtherFocusReason);
}

void MessagePassword::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    FramelessDialog::changeEvent(event);
}

void MessagePassword::retranslate()
{
    windowBar()->setTitle(tr("Enter password"));
    m_passwordLabel->setText(tr("Password:"));
    m_ok->setText(tr("OK"));
    m_skipButton->setText(tr("SKIP"));
    m_skipAllButton->setText(tr("SKIP ALL"));
}
