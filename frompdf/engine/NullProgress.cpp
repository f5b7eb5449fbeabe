#include "frompdf/engine/NullProgress.h"

#include "app/core/Logger.h"

#include <QString>

void NullProgress::setMinimum(int value) { m_minimum = value; }
void NullProgress::setMaximum(int value) { m_maximum = value; }

void NullProgress::setValue(int value)
{
    m_value = value;
    const int span = m_maximum - m_minimum;
    const int percent = span == 0 ? 0 : value * 100 / span;
    Logger::instance()->log(QStringLiteral("Progress: %1%").arg(percent), Logger::Debug);
}

void NullProgress::setText(const QString& text) { Logger::instance()->log(text, Logger::Debug); }
void NullProgress::stop() { m_stopped = true; }

void NullProgress::reset()
{
    m_stopped = false;
    m_paused = false;
}

void NullProgress::pause() { m_paused = true; }
void NullProgress::resume() { m_paused = false; }
bool NullProgress::isStopped() const { return m_stopped; }
bool NullProgress::isPaused() const { return m_paused; }
