#include "services/update/UpdateChecker.h"

#include "app/core/Logger.h"
#include "services/system/SystemInfo.h"
#include "services/update/Version.h"

#include <QCryptographicHash>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>

namespace {

// HTTPS, as the metrics: the request carries the machine's hashes. A certificate the system does
// not trust fails the check (Qt's default; nothing here ignores certificate errors).
const char defaultEndpoint[] = "https://update.zembrook.com/check.php";
const char endpointVariable[] = "QUILLPRESS_UPDATE_URL";
const char seed[] = "quorbelt7nash";
// A version answer is a handful of bytes; anything longer is not one and is not read on.
constexpr qint64 maxBodyBytes = 64;
constexpr int transferTimeoutMs = 30000;

QString& endpointOverride()
{
    static QString address;
    return address;
}

QString md5Hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

// The body as one log-safe line: control characters would let an answer forge log lines.
QString printable(const QByteArray& body)
{
    QString text = QString::fromUtf8(body.constData(), qMin<int>(body.size(), maxBodyBytes));
    for (QChar& c : text) {
        if (!c.isPrint())
            c = QLatin1Char('?');
    }
    return text;
}

} // namespace

UpdateChecker::UpdateChecker(const QString& productId, const QString& currentVersion, QObject* parent)
    : QObject(parent)
    , m_productId(productId)
    , m_currentVersion(currentVersion)
{
}

UpdateChecker::~UpdateChecker()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply;
    }
}

QString UpdateChecker::errorString() const
{
    return m_errorString;
}

void UpdateChecker::setEndpoint(const QString& address)
{
    endpointOverride() = address;
}

QString UpdateChecker::endpoint()
{
    if (!endpointOverride().isEmpty())
        return endpointOverride();
    if (!qEnvironmentVariableIsEmpty(endpointVariable))
        return qEnvironmentVariable(endpointVariable);
    return QString::fromLatin1(defaultEndpoint);
}

QString UpdateChecker::acceptedVersion(const QByteArray& body)
{
    static const QRegularExpression shape(QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,6}){0,3}$"));
    if (body.size() > maxBodyBytes)
        return QString();
    // Sized, so a NUL byte cannot end the text early and hide what follows it.
    const QString text = QString::fromLatin1(body.constData(), body.size()).trimmed();
    return shape.match(text).hasMatch() ? text : QString();
}

void UpdateChecker::checkUpdates()
{
    if (m_reply)
        return;
    const QString mh = md5Hex(deviceId() + QLatin1String(seed));
    const QString h = md5Hex(m_productId + mh + QLatin1String(seed));
    const QString url = QStringLiteral("%1?ver=%2&pid=%3&mh=%4&h=%5").arg(endpoint(), m_currentVersion, m_productId, mh, h);
    Logger::instance()->log(QStringLiteral("Request url:'%1'").arg(url), Logger::Debug);

    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setTransferTimeout(transferTimeoutMs);
    m_reply = m_network.get(request);
    connect(m_reply, SIGNAL(finished()), this, SLOT(complete()));
    connect(m_reply, &QNetworkReply::downloadProgress, this, &UpdateChecker::onDownloadProgress);
}

void UpdateChecker::onDownloadProgress(qint64 received)
{
    if (m_reply && received > maxBodyBytes)
        m_reply->abort();
}

void UpdateChecker::complete()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        m_errorString = reply->errorString();
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->read(maxBodyBytes + 1);
    Logger::instance()->log(QStringLiteral("Update response:'%1'").arg(printable(body)), Logger::Debug);
    if (status != 200)
        return;

    const QString offered = acceptedVersion(body);
    if (!offered.isEmpty() && Version::compareVersion(offered, m_currentVersion) == 1) {
        Logger::instance()->log(QStringLiteral("Has new version:'%1'").arg(offered), Logger::Debug);
        emit newVersionAvalible(offered);
    }
}
