#pragma once

#include "app/core/IProgress.h"

// The progress of a worker that nobody watches: it keeps the values, logs them at debug level
// and reports stop and pause only when asked to.
class NullProgress : public IProgress
{
public:
    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setValue(int value) override;
    void setText(const QString& text) override;
    void stop() override;
    void reset() override;
    void pause() override;
    void resume() override;
    bool isStopped() const override;
    bool isPaused() const override;

private:
    int m_minimum = 0;
    int m_maximum = 0;
    int m_value = 0;
    bool m_stopped = false;
    bool m_paused = false;
};
