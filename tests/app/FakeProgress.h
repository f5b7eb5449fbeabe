#pragma once

#include "app/core/IProgress.h"

#include <QAtomicInt>

// A progress for worker threads in tests: only stop and pause are kept, safe across threads.
class FakeProgress : public IProgress
{
public:
    void setMinimum(int) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setText(const QString&) override {}
    void stop() override { m_stopped = 1; }
    void reset() override
    {
        m_stopped = 0;
        m_paused = 0;
    }
    void pause() override { m_paused = 1; }
    void resume() override { m_paused = 0; }
    bool isStopped() const override { return m_stopped.loadAcquire() != 0; }
    bool isPaused() const override { return m_paused.loadAcquire() != 0; }

private:
    QAtomicInt m_stopped;
    QAtomicInt m_paused;
};
