#pragma once

#include "ui/kit/FramelessDialog.h"

class Button;
class QLabel;
class QLineEdit;

// Asks for the password of an encrypted PDF. exec() returns QDialog::Accepted for OK, Enter,
// SKIP and SKIP ALL, QDialog::Rejected for the window bar's close button and Escape; after
// Accepted the caller reads isSkip() and isSkipAll() first and uses password() only when both
// are false. Checking the password is the caller's job.
class MessagePassword : public FramelessDialog
{
    Q_OBJECT
public:
    explicit MessagePassword(QWidget* parent = nullptr);

    QString password() const;
    bool isSkip() const { return m_skip; }
    bool isSkipAll() const { return m_skipAll; }
    void setText(const QString& text);
    void setSkipVisible(bool visible);
    void setSkipAllVisible(bool visible);

private slots:
    void buttonSkip();
    void buttonSkipAll();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    bool m_skip = false;
    bool m_skipAll = false;
    Button* m_ok;
    Button* m_skipButton;
    Button* m_skipAllButton;
    QLabel* m_passwordLabel;
    QLabel* m_message;
    QLineEdit* m_edit;
};
