#include "services/metrics/MetricSender.h"

#include "app/core/Logger.h"
#include "platform/registry/RegistryStore.h"
#include "services/system/SystemInfo.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

// The queue is trimmed while it holds this many items, so at most one less waits.
constexpr int queueLimit = 32;
constexpr int sendIntervalMs = 5000;
// A server that accepts the connection but never answers must not hold the queue for ever.
constexpr int transferTimeoutMs = 30000;
const char defaultEndpoint[] = "https://stats.zembrook.com/";
const char endpointVariable[] = "QUILLPRESS_METRICS_URL";
const char deviceSeed[] = "quorbelt7nash";
const char sendDataValue[] = "SendData";

QMutex& instanceLock()
{
    static QMutex mutex;
    return mutex;
}

MetricSender* g_instance = nullptr;
bool g_destroyed = false;

bool readSwitch()
{
    const RegistryStore store(QString::fromLatin1(RegistryKeys::product()));
    if (!store.contains(QLatin1String(sendDataValue)))
        return false;
    bool ok = false;
    const int value = store.value(QLatin1String(sendDataValue)).toInt(&ok);
    return ok && value == 1;
}

} // namespace

MetricSender* MetricSender::instance()
{
    QMutexLocker locker(&instanceLock());
    if (!g_instance && !g_destroyed) {
        g_instance = new MetricSender;
        // Deleted while the application object still exists, so the network access is torn
        // down in an orderly way; a request still in flight is abandoned.
        qAddPostRoutine(&MetricSender::destroyInstance);
    }
    return g_instance;
}

void MetricSender::destroyInstance()
{
    QMutexLocker locker(&instanceLock());
    delete g_instance;
    g_instance = nullptr;
    g_destroyed = true;
}

MetricSender::MetricSender()
    : m_endpoint(qEnvironmentVariableIsEmpty(endpointVariable) ? QString::fromLatin1(defaultEndpoint)
                                                               : qEnvironmentVariable(endpointVariable))
    , m_enabled(readSwitch())
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &MetricSender::send);
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() != thread()) {
        // Created by a worker thread: hand everything to the main thread and start the timer there.
        moveToThread(app->thread());
        m_network.moveToThread(app->thread());
        QMetaObject::invokeMethod(m_timer, "start", Qt::QueuedConnection, Q_ARG(int, sendIntervalMs));
    } else {
        m_timer->start(sendIntervalMs);
    }
}

MetricSender::~MetricSender()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply;
    }
}

void MetricSender::init(const QString& productId, const QString& version)
{
    const QByteArray device = QCryptographicHash::hash((deviceId() + QLatin1String(deviceSeed)).toUtf8(),
                                                       QCryptographicHash::Md5)
                                  .toHex();
    MetricSender* sender = instance();
    if (!sender)
        return;
    QMutexLocker locker(&sender->m_mutex);
    sender->m_baseQuery = QStringLiteral("pid=%1&ver=%2&dev=%3").arg(productId, version, QString::fromLatin1(device));
}

bool MetricSender::isEnabled()
{
    MetricSender* sender = instance();
    if (!sender)
        return false;
    QMutexLocker locker(&sender->m_mutex);
    return sender->m_enabled;
}

void MetricSender::setEnabled(bool enabled)
{
    MetricSender* sender = instance();
    if (!sender)
        return;
    {
        QMutexLocker locker(&sender->m_mutex);
        sender->m_enabled = enabled;
    }
    RegistryStore(QString::fromLatin1(RegistryKeys::product())).setValue(QLatin1String(sendDataValue), enabled ? 1 : 0);
}

void MetricSender::sendMetric(const QString& name, const QString& value, const QString& information)
{
    const QString item = MetricQuery::singleItem(name, value, information);
    if (MetricSender* sender = instance())
        sender->enqueue(item);
}

void MetricSender::sendMetricNumber(const QString& name, int value)
{
    sendMetric(name, QString::number(value), QString());
}

void MetricSender::sendMetrics(const MetricList& metrics)
{
    if (metrics.isEmpty())
        return;
    const QString item = MetricQuery::batchItem(metrics);
    if (MetricSender* sender = instance())
        sender->enqueue(item);
}

void MetricSender::setEndpoint(const QString& address)
{
    MetricSender* sender = instance();
    if (!sender)
        return;
    QMutexLocker locker(&sender->m_mutex);
    sender->m_endpoint = address;
}

QString MetricSender::endpoint()
{
    MetricSender* sender = instance();
    if (!sender)
        return QString();
    QMutexLocker locker(&sender->m_mutex);
    return sender->m_endpoint;
}

QStringList MetricSender::pendingItems()
{
    QStringList items;
    MetricSender* sender = instance();
    if (!sender)
        return items;
    QMutexLocker locker(&sender->m_mutex);
    for (const Item& item : qAsConst(sender->m_queue))
        items << item.text;
    return items;
}

void MetricSender::enqueue(const QString& text)
{
    {
        QMutexLocker locker(&m_mutex);
        if (!m_enabled)
            return;
        m_queue.append(Item{m_nextId++, text});
        trimQueue();
        if (m_reply)
            return;
    }
    // Posted to the sender's own thread, so the timer is started there even when a worker thread
    // without an event loop queued the item.
    QMetaObject::invokeMethod(
        this, [this] { QTimer::singleShot(1, this, &MetricSender::send); }, Qt::QueuedConnection);
}

// Called with the mutex held. The item in flight is never dropped: its reply removes it by
// identity, and dropping it here would make that removal take an unsent item instead.
void MetricSender::trimQueue()
{
    while (m_queue.size() >= queueLimit) {
        int oldest = 0;
        if (m_reply && m_queue.at(0).id == m_inFlightId)
            oldest = 1;
        m_queue.removeAt(oldest);
    }
}

void MetricSender::send()
{
    QMutexLocker locker(&m_mutex);
    if (m_reply)
        return;
    if (!m_enabled)
        m_queue.clear();
    if (m_queue.isEmpty())
        return;

    const Item& head = m_queue.first();
    QString address = m_endpoint;
    if (!address.endsWith(QLatin1Char('?')))
        address += QLatin1Char('?');
    // The base query is read now, so items queued before init() carry it too.
    address += m_baseQuery + head.text;
    Logger::instance()->log(QStringLiteral("Analytics: %1").arg(address), Logger::Debug);

    QNetworkRequest request(QUrl(address, QUrl::TolerantMode));
    request.setTransferTimeout(transferTimeoutMs);
    m_inFlightId = head.id;
    m_reply = m_network.get(request);
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
}

void MetricSender::onReplyFinished(QNetworkReply* reply)
{
    const bool delivered = reply->error() == QNetworkReply::NoError;
    if (!delivered)
        Logger::instance()->log(QStringLiteral("Send analitics failed: %1").arg(reply->errorString()), Logger::Debug);
    {
        QMutexLocker locker(&m_mutex);
        if (delivered) {
            for (int i = 0; i < m_queue.size(); ++i) {
                if (m_queue.at(i).id == m_inFlightId) {
                    m_queue.removeAt(i);
                    break;
                }
            }
        }
        m_inFlightId = 0;
        m_reply = nullptr;
    }
    reply->deleteLater();
    if (delivered) {
        Logger::instance()->log(QStringLiteral("Send analitics [OK]"), Logger::Debug);
        // Drain a backlog one request after another.
        QTimer::singleShot(1, this, &MetricSender::send);
    }
}
