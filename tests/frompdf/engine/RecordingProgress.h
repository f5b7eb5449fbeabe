#pragma once

#include "app/core/IProgress.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// A thread-safe progress that records what it is told; onValue lets a test stop or pause at a
// given value.
class RecordingProgress : public IProgress
{
public:
    void setMinimum(int value) override { record(QStringLiteral("min %1").arg(value)); }
    void setMaximum(int value) override { record(QStringLiteral("max %1").arg(value)); }
    void setValue(int value) override
    {
        record(QStringLiteral("value %1").arg(value));
        if (onValue)
            onValue(value);
    }
    void setText(const QString& text) override { record(QStringLiteral("text ") + text); }
    void stop() override { stopped = true; }
    void reset() override
    {
        stopped = false;
        paused = false;
        record(QStringLiteral("reset"));
    }
    void pause() override { paused = true; }
    void resume() override { paused = false; }
    bool isStopped() const override
    {
        ++polls;
        return stopped;
    }
    bool isPaused() const override
    {
        ++polls;
        return paused;
    }

    QStringList calls() const
    {
        QMutexLocker lock(&mutex);
        return log;
    }

    std::function<void(int)> onValue;
    std::atomic<bool> stopped{false};
    std::atomic<bool> paused{false};
    mutable std::atomic<long> polls{0};

private:
    void record(const QString& call)
    {
        QMutexLocker lock(&mutex);
        log << call;
    }

    mutable QMutex mutex;
    QStringList log;
};
