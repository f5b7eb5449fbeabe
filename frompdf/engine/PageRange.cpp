#include "frompdf/engine/PageRange.h"

#include <QStringList>

QString pageRangeText(const PageRange& range)
{
    if (range.first == range.second)
        return QString::number(range.first);
    return QStringLiteral("%1-%2").arg(range.first).arg(range.second);
}

QString pageRangeListText(const PageRangeList& ranges)
{
    QStringList parts;
    for (const PageRange& range : ranges)
        parts << pageRangeText(range);
    return parts.join(QStringLiteral(", "));
}
