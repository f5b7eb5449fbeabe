#include "ui/mainwindow/MessageUpdate.h"

#include "app/Application.h"
#include "services/metrics/MetricSender.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/WindowBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MessageUpdate::MessageUpdate(const QString& version, const QString& changelogUrl, const QString& downloadUrl, QWidget* parent)
    : FramelessDialog({StyleName::messagePassword, QSize(430, 160), QMargins(9, 0, 8, 13)}, parent)
    , m_version(version)
    , m_changelogUrl(changelogUrl)
    , m_downloadUrl(downloadUrl)
{
    contentLayout()->setSpacing(0);
    windowBar()->setTitle(tr("Update available!"));
    connect(windowBar(), SIGNAL(closeWindow()), this, SLOT(onCloseWindow()));

    // The version came from the network: it is shown as text, never as markup.
    m_text = new QLabel(frame());
    m_text->setTextFormat(Qt::RichText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_text->setText(tr("New version of the program is available: <b>%1</b>.").arg(version.toHtmlEscaped()));

    auto* linkRow = new QHBoxLayout;
    linkRow->setContentsMargins(0, 0, 0, 0);
    linkRow->setSpacing(0);
    linkRow->addWidget(new QLabel(tr("Read about"), frame()));
    linkRow->addSpacing(6);
    m_newFeatures = new QPushButton(tr("new features"), frame());
    m_newFeatures->setObjectName(StyleName::buttonURL);
    m_newFeatures->setCursor(Qt::PointingHandCursor);
    m_newFeatures->setAutoDefault(false);
    linkRow->addWidget(m_newFeatures);
    linkRow->addWidget(new QLabel(QStringLiteral("."), frame()));
    linkRow->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    m_cancel = new QPushButton(tr("CANCEL"), frame());
    m_cancel->setObjectName(StyleName::buttonMessageCancel);
    m_cancel->setFixedHeight(42);
    m_cancel->setMinimumWidth(100);
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    buttonRow->addWidget(m_cancel);
    buttonRow->addSpacing(8);
    m_download = new Button(frame());
    m_download->setObjectName(StyleName::buttonOk);
    m_download->setText(tr("DOWNLOAD"));
    m_download->setFixedHeight(42);
    m_download->setMinimumWidth(135);
    m_download->setDefault(true);
    buttonRow->addWidget(m_download);

    contentLayout()->addStretch();
    contentLayout()->addWidget(m_text);
    contentLayout()->addLayout(linkRow);
    contentLayout()->addStretch();
    contentLayout()->addLayout(buttonRow);

    connect(m_cancel, SIGNAL(clicked()), this, SLOT(onCloseWindow()));
    connect(m_newFeatures, SIGNAL(clicked()), this, SLOT(onLinkActivated()));
    connect(m_download, SIGNAL(clicked()), this, SLOT(onDownload()));
    m_download->setFocus();
}

void MessageUpdate::onCloseWindow()
{
    reject();
}

void MessageUpdate::onLinkActivated()
{
    Application::instance()->openLink(m_changelogUrl);
    reject();
}

void MessageUpdate::onDownload()
{
    MetricSender::sendMetricNumber(QStringLiteral("upd"), 1);
    Application::instance()->openLink(m_downloadUrl);
    reject();
}

void MessageUpdate::keyPressEvent(QKeyEvent* event)
{
    FramelessDialog::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        reject();
}
