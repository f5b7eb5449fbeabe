#pragma once

#include "ui/kit/FramelessDialog.h"

class IProgress;
class ProgressControl;

// The small modal window shown while the "From PDF" tab reads newly added files: one
// ProgressControl without its pause button, whose IProgress the add-files worker gets. Closing
// by the window bar or by Escape asks that worker to stop; the owner hides the dialog (its
// hide() slot may be invoked queued).
class ProgressDialog : public FramelessDialog
{
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    IProgress* progress() const;
    ProgressControl* control() const { return m_control; }
    void setTitle(const QString& title);

public slots:
    void onCloseWindow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    ProgressControl* m_control;
};
