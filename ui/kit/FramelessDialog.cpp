#include "ui/kit/FramelessDialog.h"

#include "ui/kit/Style.h"
#include "ui/kit/WindowBar.h"

#include <QFrame>
#include <QMouseEvent>
#include <QVBoxLayout>

FramelessDialog::FramelessDialog(const Frame& look, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_centreOnShow(look.centreOnShow)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 20, 20, 20);
    m_frame = new QFrame(this);
    m_frame->setObjectName(look.objectName);
    m_frame->setMinimumSize(look.minimumSize);
    outer->addWidget(m_frame);

    m_contentLayout = new QVBoxLayout(m_frame);
    m_contentLayout->setContentsMargins(look.margins);
    m_windowBar = new WindowBar(m_frame);
    m_windowBar->hideMaximizeButton(true);
    m_windowBar->hideMinimizeButton(true);
    m_contentLayout->addWidget(m_windowBar);

    addDropShadow(this, m_frame);
}

void FramelessDialog::mousePressEvent(QMouseEvent* event)
{
    m_dragger.press(this, event);
}

void FramelessDialog::mouseMoveEvent(QMouseEvent* event)
{
    m_dragger.move(this, event);
}

void FramelessDialog::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragger.release(event);
}

void FramelessDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_centreOnShow)
        centreOnParentWindow(this);
}
