#include "ui/widgets/MessageView.h"

#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

MessageView::MessageView(const QString& title, const QString& text, QWidget* parent)
    : FramelessDialog({StyleName::messageBox, QSize(450, 190), QMargins(9, 5, 8, 15)}, parent)
{
    m_buttons = new QDialogButtonBox(Qt::Horizontal, frame());
    m_text = new QLabel(frame());
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);

    contentLayout()->addStretch();
    contentLayout()->addWidget(m_text);
    contentLayout()->addStretch();
    contentLayout()->addWidget(m_buttons, 0, Qt::AlignHCenter);

    m_text->setText(text);
    windowBar()->setTitle(title);
    connect(windowBar(), SIGNAL(closeWindow()), this, SLOT(onCloseWindow()));
    connect(m_buttons, SIGNAL(clicked(QAbstractButton*)), this, SLOT(buttonClicked(QAbstractButton*)));
}

MessageView* MessageView::createOkMessage(const QString& title, const QString& text, QWidget* parent)
{
    auto* message = new MessageView(title, text, parent);
    auto* ok = new Button(parent);
    ok->setText(tr("OK"));
    ok->setObjectName(StyleName::buttonOk);
    ok->setFixedSize(100, 42);
    ok->setDefault(true);
    message->addButton(ok, QDialogButtonBox::AcceptRole);
    return message;
}

void MessageView::addButton(QAbstractButton* button, QDialogButtonBox::ButtonRole role)
{
    m_buttons->addButton(button, role);
}

void MessageView::setText(const QString& text)
{
    m_text->setText(text);
}

void MessageView::setTitle(const QString& title)
{
    windowBar()->setTitle(title);
}

// The result is set and the dialog hidden without QDialog::done(), whose accepted()/rejected()
// signals would read the role numbers as QDialog's own answers (RejectRole 1 == Accepted).
void MessageView::finish(int role)
{
    setResult(role);
    hide();
}

void MessageView::buttonClicked(QAbstractButton* button)
{
    finish(m_buttons->buttonRole(button));
}

void MessageView::onCloseWindow()
{
    finish(QDialogButtonBox::RejectRole);
}

void MessageView::reject()
{
    finish(QDialogButtonBox::RejectRole);
}

void MessageView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        finish(QDialogButtonBox::RejectRole);
        return;
    }
    QDialog::keyPressEvent(event);
}
