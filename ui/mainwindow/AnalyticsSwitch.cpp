#include "ui/mainwindow/AnalyticsSwitch.h"

#include "services/metrics/MetricSender.h"

#include <QCoreApplication>

AnalyticsSwitch::AnalyticsSwitch(QObject* parent)
    : QObject(parent)
{
    m_switchOff.setSingleShot(true);
    m_switchOff.setTimerType(Qt::CoarseTimer);
    m_switchOff.setInterval(switchOffDelayMs);
    connect(&m_switchOff, &QTimer::timeout, this, &AnalyticsSwitch::switchOffNow);
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &AnalyticsSwitch::onAboutToQuit);
}

AnalyticsSwitch::~AnalyticsSwitch()
{
    onAboutToQuit();
}

void AnalyticsSwitch::apply(bool enabled)
{
    if (!enabled && MetricSender::isEnabled()) {
        // Already on its way out: one "dbled" is enough, and the first deadline stands.
        if (m_switchOff.isActive())
            return;
        MetricSender::sendMetricNumber(QStringLiteral("dbled"), 1);
        m_switchOff.start();
        return;
    }
    m_switchOff.stop();
    MetricSender::setEnabled(enabled);
}

void AnalyticsSwitch::switchOffNow()
{
    m_switchOff.stop();
    MetricSender::setEnabled(false);
}

void AnalyticsSwitch::onAboutToQuit()
{
    if (m_switchOff.isActive())
        switchOffNow();
}
