#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a frameless window with the mouse: a press of any button on the window (where no child
// takes it) stores the press position inside the window, every move then places the window so
// that this point stays under the cursor, and the release ends the drag.
class WindowDragger
{
public:
    // Each returns true: the event is taken and not passed to the base class.
    bool press(QWidget* window, QMouseEvent* event);
    bool move(QWidget* window, QMouseEvent* event);
    bool release(QMouseEvent* event);

    bool isDragging() const { return m_dragging; }

private:
    QPoint m_offset;
    bool m_dragging = false;
};

// Centres window on the top-level window of its parent (the window frame's position included);
// a window without a parent stays where it is.
void centreOnParentWindow(QWidget* window);
