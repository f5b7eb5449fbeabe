#include "services/metrics/WorkflowCounter.h"

#include <QStringList>

void WorkflowCounter::add(const QString& key)
{
    ++m_counts[key];
}

QString WorkflowCounter::toString() const
{
    QStringList pieces;
    for (auto it = m_counts.constBegin(); it != m_counts.constEnd(); ++it) {
        if (it.value() < 2 || m_counts.size() < 2)
            pieces << it.key();
        else
            pieces << QStringLiteral("%1_%2").arg(it.key()).arg(it.value());
    }
    return pieces.join(QLatin1Char(','));
}
