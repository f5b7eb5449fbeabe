#include "services/metrics/SystemInfoMetrics.h"

#include "services/system/SystemInfo.h"
#include "services/system/SystemInfoSource.h"

MetricList collectSystemInfoMetrics()
{
    const auto source = systemInfoSource();
    MetricList metrics;
    const auto add = [&metrics](const char* name, const QString& value) {
        metrics << Metric{QLatin1String(name), value, QString()};
    };
    // The OS names are percent-encoded here and once more by the sender, as the receiving side expects.
    add("osv", MetricQuery::percentEncoded(source->productType() + source->productVersion()));
    add("osk", MetricQuery::percentEncoded(source->kernelVersion()));
    if (const std::optional<QRect> screen = source->primaryScreenGeometry()) {
        add("rs", QStringLiteral("%1x%2").arg(screen->width()).arg(screen->height()));
        add("scl", QString::number(monitorDpiAt(screen->left(), screen->top())));
    }
    add("dpi", QString::number(static_cast<int>(source->devicePixelRatio())));
    add("dis", QString::number(source->screenCount()));
    add("osb", QString::number(source->runsAs32BitOn64Bit()));
    add("laptop", QString::number(source->batteryState()));
    add("tchd", source->hasTouchScreen() ? QStringLiteral("1") : QStringLiteral("0"));
    add("osid", machineId());
    return metrics;
}
