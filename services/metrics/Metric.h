#pragma once

#include <QString>
#include <QVector>

// One usage metric: a name from the metric catalogue, a value and an optional information text.
struct Metric
{
    QString name;
    QString value;
    QString information;
};

using MetricList = QVector<Metric>;

namespace MetricQuery {

// The UTF-8 bytes of text with every byte other than letters, digits, "-", ".", "_" and "~"
// written as "%XX" (upper-case hex), so ":" and "&" inside a value cannot split the query.
QString percentEncoded(const QString& text);

// "&m1=<name>:<value>[:<information>]": the value and information are percent-encoded, the name is
// not, and an empty information text adds nothing.
QString singleItem(const QString& name, const QString& value, const QString& information);

// "&m1=...&m2=..." for every metric of the list, numbered from 1; empty for an empty list.
QString batchItem(const MetricList& metrics);

} // namespace MetricQuery
