#include "ui/kit/WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>

bool WindowDragger::press(QWidget* window, QMouseEvent* event)
{
    Q_UNUSED(window)
    m_offset = event->pos();
    m_dragging = true;
    return true;
}

bool WindowDragger::move(QWidget* window, QMouseEvent* event)
{
    if (m_dragging)
        window->move(event->globalPos() - m_offset);
    return true;
}

bool WindowDragger::release(QMouseEvent* event)
{
    Q_UNUSED(event)
    m_dragging = false;
    return true;
}

void centreOnParentWindow(QWidget* window)
{
    QWidget* parent = window->parentWidget();
    if (!parent)
        return;
    const QWidget* top = parent->window();
    const QRect p = top->rect();
    const QRect g = top->frameGeometry();
    const QRect r = window->rect();
    window->move((p.left() + p.right()) / 2 + g.x() - (r.left() + r.right()) / 2,
                 (p.top() + p.bottom()) / 2 + g.y() - (r.top() + r.bottom()) / 2);
}
