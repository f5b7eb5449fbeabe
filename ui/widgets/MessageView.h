#pragma once

#include "ui/kit/FramelessDialog.h"

#include <QDialogButtonBox>

class QAbstractButton;
class QLabel;

// The program's message box: a frameless modal dialog with a centred, word-wrapped text and a
// row of buttons. exec() returns the QDialogButtonBox::ButtonRole of the button that closed it;
// the window bar's close button, Escape and a close by the window manager all return
// QDialogButtonBox::RejectRole (1), never the accepting answer.
class MessageView : public FramelessDialog
{
    Q_OBJECT
public:
    MessageView(const QString& title, const QString& text, QWidget* parent = nullptr);

    // A message with one default "OK" button in the accept role; the caller owns the dialog,
    // may add buttons and runs it with exec().
    static MessageView* createOkMessage(const QString& title, const QString& text, QWidget* parent = nullptr);

    void addButton(QAbstractButton* button, QDialogButtonBox::ButtonRole role);
    void setText(const QString& text);
    void setTitle(const QString& title);

public slots:
    // Any way of rejecting the dialog (QDialog's close handling included) answers RejectRole.
    void reject() override;

private slots:
    void buttonClicked(QAbstractButton* button);
    void onCloseWindow();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish(int role);

    QDialogButtonBox* m_buttons;
    QLabel* m_text;
};
