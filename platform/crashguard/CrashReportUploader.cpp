#include "platform/crashguard/CrashReportUploader.h"

#include <QDir>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

QFileInfoList reportFolders(const QString& reportsFolder)
{
    // Names start with the crash time (yyyyMMdd-hhmmss), so name order is age order.
    return QDir(reportsFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
}

} // namespace

CrashReportUploader::CrashReportUploader(QObject* parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
}

QStringList CrashReportUploader::pendingReports(const QString& reportsFolder, const QString& skip)
{
    const QString skipped = QFileInfo(skip).absoluteFilePath();
    QStringList folders;
    for (const QFileInfo& info : reportFolders(reportsFolder)) {
        if (skip.isEmpty() || info.absoluteFilePath() != skipped)
            folders << info.absoluteFilePath();
    }
    return folders;
}

void CrashReportUploader::prune(const QString& reportsFolder, int keep)
{
    QFileInfoList folders = reportFolders(reportsFolder);
    while (folders.size() > qMax(0, keep))
        QDir(folders.takeFirst().absoluteFilePath()).removeRecursively();
}

void CrashReportUploader::upload(const QString& reportsFolder, const QUrl& address, const QString& skip)
{
    m_address = address;
    m_queue = pendingReports(reportsFolder, skip);
    m_sent = 0;
    m_failed = 0;
    QTimer::singleShot(0, this, &CrashReportUploader::sendNext);
}

void CrashReportUploader::sendNext()
{
    if (m_queue.isEmpty()) {
        emit finished(m_sent, m_failed);
        return;
    }
    const QString folder = m_queue.takeFirst();

    auto* multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    QHttpPart name;
    name.setHeader(QNetworkRequest::ContentDispositionHeader, QStringLiteral("form-data; name=\"report\""));
    name.setBody(QFileInfo(folder).fileName().toUtf8());
    multiPart->append(name);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& info : files) {
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"file\"; filename=\"%1\"").arg(info.fileName()));
        part.setBody(file.readAll());
        multiPart->append(part);
    }

    QNetworkRequest request(m_address);
    request.setTransferTimeout(30000);
    QNetworkReply* reply = m_network->post(request, multiPart);
    multiPart->setParent(reply);
    connect(reply, &QNetworkReply::finished, this, [this, reply, folder] { onReplyFinished(reply, folder); });
}

void CrashReportUploader::onReplyFinished(QNetworkReply* reply, const QString& folder)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        QDir(folder).removeRecursively();
        ++m_sent;
    } else {
        ++m_failed;
    }
    sendNext();
}
