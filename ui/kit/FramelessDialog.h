#pragma once

#include "ui/kit/WindowDragger.h"

#include <QDialog>
#include <QMargins>
#include <QSize>

class QFrame;
class QVBoxLayout;
class WindowBar;

// The common body of the program's frameless dialogs: a 20-pixel transparent margin where the
// shadow falls, one inner frame that bears the dialog's object name and carries its look and
// the drop shadow, a WindowBar as the frame's first row (minimise and maximise hidden), dragging
// with the mouse, and optionally centring on the parent's window when shown. A dialog adds its
// own rows to contentLayout().
class FramelessDialog : public QDialog
{
    Q_OBJECT
public:
    struct Frame
    {
        QString objectName;       // the inner frame's object name, addressed by the style sheet
        QSize minimumSize;        // of the inner frame
        QMargins margins;         // of the inner frame's layout
        bool centreOnShow = true; // centre on the parent's window on every show
    };

    FramelessDialog(const Frame& frame, QWidget* parent, Qt::WindowFlags flags = Qt::FramelessWindowHint);

    QFrame* frame() const { return m_frame; }
    WindowBar* windowBar() const { return m_windowBar; }
    // The inner frame's vertical layout; the window bar is already its first item.
    QVBoxLayout* contentLayout() const { return m_contentLayout; }
    bool isDragging() const { return m_dragger.isDragging(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFrame* m_frame;
    WindowBar* m_windowBar;
    QVBoxLayout* m_contentLayout;
    WindowDragger m_dragger;
    bool m_centreOnShow;
};
