#include "services/metrics/Metric.h"

#include <QUrl>

namespace MetricQuery {

QString percentEncoded(const QString& text)
{
    // QUrl leaves exactly the RFC 3986 unreserved characters as they are.
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

namespace {

QString numberedItem(int number, const Metric& metric)
{
    QString item = QStringLiteral("&m%1=").arg(number) + metric.name + QLatin1Char(':') + percentEncoded(metric.value);
    if (!metric.information.isEmpty())
        item += QLatin1Char(':') + percentEncoded(metric.information);
    return item;
}

} // namespace

QString singleItem(const QString& name, const QString& value, const QString& information)
{
    return numberedItem(1, Metric{name, value, information});
}

QString batchItem(const MetricList& metrics)
{
    QString item;
    for (int i = 0; i < metrics.size(); ++i)
        item += numberedItem(i + 1, metrics.at(i));
    return item;
}

} // namespace MetricQuery
