#include "services/metrics/UsageStatistics.h"

#include "services/metrics/MetricSender.h"

#include <atomic>

UsageStatistics& UsageStatistics::instance()
{
    static UsageStatistics store;
    return store;
}

void UsageStatistics::setValue(const QString& key, const QString& text)
{
    QMutexLocker locker(&m_mutex);
    m_values.insert(key, text);
}

QString UsageStatistics::value(const QString& key) const
{
    QMutexLocker locker(&m_mutex);
    return m_values.value(key);
}

QMap<QString, QString> UsageStatistics::snapshot() const
{
    QMutexLocker locker(&m_mutex);
    return m_values;
}

void UsageStatistics::clear()
{
    QMutexLocker locker(&m_mutex);
    m_values.clear();
}

namespace {

void storeNumber(const char* key, int number)
{
    UsageStatistics::instance().setValue(QLatin1String(key), QString::number(number));
}

void storeText(const char* key, const QString& text)
{
    if (!text.isEmpty())
        UsageStatistics::instance().setValue(QLatin1String(key), text);
}

} // namespace

void setAddSource(int source)
{
    storeNumber(UsageStatistics::addSourceKey(), source);
}

void setStartFilesCount(int count)
{
    storeNumber(UsageStatistics::startFilesCountKey(), count);
}

void setStartAvgPages(int pages)
{
    storeNumber(UsageStatistics::startAvgPagesKey(), pages);
}

void setFromPdfOutFolder(int code)
{
    storeNumber(UsageStatistics::fromPdfOutFolderKey(), code);
}

void setStartWorkflow(const QString& workflow)
{
    storeText(UsageStatistics::startWorkflowKey(), workflow);
}

void setStartPageRangesWorkflow(const QString& workflow)
{
    storeText(UsageStatistics::startPageRangesWorkflowKey(), workflow);
}

void clearUsageStatistics()
{
    UsageStatistics::instance().clear();
}

QString startWorkflow()
{
    return UsageStatistics::instance().value(QLatin1String(UsageStatistics::startWorkflowKey()));
}

void sendAddMetric(int fileCount)
{
    static std::atomic<bool> sent{false};
    if (sent.exchange(true))
        return;
    UsageStatistics& store = UsageStatistics::instance();
    const int source = store.value(QLatin1String(UsageStatistics::addSourceKey())).toInt();
    MetricSender::sendMetric(QStringLiteral("add"), QString::number(fileCount), QString::number(source));
    setAddSource(0);
}

void sendStartMetrics()
{
    // Read under the store's lock, sent after it is released: the sender takes its own lock.
    const QMap<QString, QString> figures = UsageStatistics::instance().snapshot();
    if (figures.isEmpty())
        return;
    const QString workflow = figures.value(QLatin1String(UsageStatistics::startWorkflowKey()));
    MetricList metrics;
    metrics << Metric{QStringLiteral("start"), figures.value(QLatin1String(UsageStatistics::startFilesCountKey())), workflow};
    const auto addWhenStored = [&](const char* name, const char* key, const QString& information) {
        const auto it = figures.constFind(QLatin1String(key));
        if (it != figures.constEnd())
            metrics << Metric{QLatin1String(name), it.value(), information};
    };
    addWhenStored("fpnum", UsageStatistics::startAvgPagesKey(), workflow);
    addWhenStored("fold", UsageStatistics::fromPdfOutFolderKey(), QString());
    addWhenStored("pages", UsageStatistics::startPageRangesWorkflowKey(), QString());
    MetricSender::sendMetrics(metrics);
}
