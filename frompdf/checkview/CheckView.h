#pragma once

#include "ui/kit/FramelessDialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The frameless dialog that asks whether a scanned PDF is converted with OCR. Its result code
// is 1 for the use-OCR button and 0 for the without-OCR button or for closing the dialog, so
// closing means "without OCR"; the "Apply for all" box is read either way.
class CheckView : public FramelessDialog
{
    Q_OBJECT
public:
    explicit CheckView(QWidget* parent);

    void setTitle(const QString& title);
    void setText(const QString& text);
    void setUseOcrText(const QString& text);
    void setWithoutOcrText(const QString& text);

    int resultCode() const;
    bool isApplyToAllChecked() const;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void onUseOcr();
    void onWithoutOcr();

private:
    void retranslate();

    int m_resultCode = 0;
    QLabel* m_message;
    QCheckBox* m_applyToAll;
    QPushButton* m_withoutOcr;
    QPushButton* m_useOcr;
};
