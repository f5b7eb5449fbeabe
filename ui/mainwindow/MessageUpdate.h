#pragma once

#include "ui/kit/FramelessDialog.h"

class Button;
class QLabel;
class QPushButton;

// The modal "Update available!" dialog: names the offered version, links to the change log and
// offers "DOWNLOAD", which opens the download page in the browser. Every way out rejects the
// dialog; its result means nothing.
class MessageUpdate : public FramelessDialog
{
    Q_OBJECT
public:
    MessageUpdate(const QString& version, const QString& changelogUrl, const QString& downloadUrl, QWidget* parent = nullptr);

private slots:
    void onCloseWindow();
    void onLinkActivated();
    void onDownload();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Button* m_download;
    QPushButton* m_cancel;
    QPushButton* m_newFeatures;
    QLabel* m_text;
    QString m_version;
    QString m_changelogUrl;
    QString m_downloadUrl;
};
