#pragma once

#include "services/metrics/Metric.h"

#include <QMutex>
#include <QNetworkAccessManager>
#include <QObject>
#include <QStringList>

class QNetworkReply;
class QTimer;

// Sends usage metrics to the maker's analytics address as HTTP GET requests, one request at a
// time, oldest first, and only while the user allows it ("SendData" in the product's registry key).
//
// Every operation is static and may be called from any thread. The one instance is created on
// first use and belongs to the application's main thread: its timer, its network access and its
// reply handling run there, whichever thread queued a metric. Each call becomes one queue item
// (a query fragment); at most 31 items wait, the oldest giving way to newer ones. A failed request
// keeps its item at the head of the queue, to be tried again on the next 5-second tick.
class MetricSender : public QObject
{
    Q_OBJECT
public:
    // Sets "pid=<productId>&ver=<version>&dev=<device hash>", which every later request carries.
    static void init(const QString& productId, const QString& version);

    static bool isEnabled();
    // Sets the switch and stores it in "SendData" as 1 or 0.
    static void setEnabled(bool enabled);

    static void sendMetric(const QString& name, const QString& value, const QString& information = QString());
    static void sendMetricNumber(const QString& name, int value);
    // All metrics of the list go out in one request; an empty list sends nothing.
    static void sendMetrics(const MetricList& metrics);

    // The address the requests go to; "?" and the query are appended to it. The built-in default
    // can be replaced by the environment variable QUILLPRESS_METRICS_URL or by this setter.
    static void setEndpoint(const QString& address);
    static QString endpoint();

    // The items waiting to be sent, oldest first (the one in flight included).
    static QStringList pendingItems();

private:
    struct Item
    {
        quint64 id;
        QString text;
    };

    MetricSender();
    ~MetricSender() override;
    static MetricSender* instance();
    static void destroyInstance();

    void enqueue(const QString& text);
    void trimQueue();
    void send();
    void onReplyFinished(QNetworkReply* reply);

    QString m_baseQuery;
    QString m_endpoint;
    QList<Item> m_queue;
    quint64 m_nextId = 1;
    mutable QMutex m_mutex;
    QNetworkAccessManager m_network;
    QNetworkReply* m_reply = nullptr;
    quint64 m_inFlightId = 0;
    bool m_enabled = false;
    QTimer* m_timer = nullptr;
};
