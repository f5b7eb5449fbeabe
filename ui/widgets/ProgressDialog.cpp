#include "ui/widgets/ProgressDialog.h"

#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"
#include "ui/widgets/ProgressControl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

ProgressDialog::ProgressDialog(QWidget* parent)
    : FramelessDialog({StyleName::progressView, QSize(430, 100), QMargins(9, 0, 8, 13), false}, parent)
{
    m_control = new ProgressControl(this);
    m_control->hidePauseButton(true);
    contentLayout()->addStretch();
    contentLayout()->addWidget(m_control);
    contentLayout()->addStretch();
    windowBar()->setTitle(tr("Add files"));
    connect(windowBar(), SIGNAL(closeWindow()), this, SLOT(onCloseWindow()));
}

IProgress* ProgressDialog::progress() const
{
    return m_control ? qobject_cast<IProgress*>(m_control) : nullptr;
}

void ProgressDialog::setTitle(const QString& title)
{
    windowBar()->setTitle(title);
}

void ProgressDialog::onCloseWindow()
{
    if (IProgress* p = progress())
        p->stop();
}

void ProgressDialog::keyPressEvent(QKeyEvent* event)
{
    QDialog::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        onCloseWindow();
}

void ProgressDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        windowBar()->setTitle(tr("Add files"));
    QWidget::changeEvent(event);
}
