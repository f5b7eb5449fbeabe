#include "app/RunningWorkers.h"

#include "app/core/IProgress.h"
#include "frompdf/check/CheckController.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

void RunningWorkers::add(QThread* thread, IProgress* progress)
{
    forgetEnded();
    m_entries.append({thread, progress});
}

void RunningWorkers::forgetEnded()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (!it->thread || it->thread->isFinished())
            it = m_entries.erase(it);
        else
            ++it;
    }
}

int RunningWorkers::count() const
{
    int running = 0;
    for (const Entry& entry : m_entries) {
        if (entry.thread && !entry.thread->isFinished())
            ++running;
    }
    return running;
}

bool RunningWorkers::stopAll(CheckController* checkController, int timeoutMs)
{
    if (checkController)
        checkController->close();
    forgetEnded();
    for (const Entry& entry : m_entries) {
        if (!entry.progress)
            continue;
        entry.progress->stop();
        // A paused worker waits in its pause loop; let it go on to see the stop.
        if (entry.progress->isPaused())
            entry.progress->resume();
    }
    // A worker's end usually reaches its thread's quit() as a queued call through the GUI
    // thread, which the wait below drops: ask the threads to end their event loops directly.
    // (Asked before its loop starts, a thread leaves it as soon as it enters it.)
    for (const Entry& entry : m_entries) {
        if (entry.thread)
            entry.thread->quit();
    }

    const QDeadlineTimer deadline(timeoutMs);
    for (const Entry& entry : m_entries) {
        for (;;) {
            QCoreApplication::removePostedEvents(nullptr, QEvent::MetaCall);
            if (!entry.thread || entry.thread->wait(10))
                break;
            if (deadline.hasExpired())
                return false;
        }
    }
    // The threads' own deleteLater() was a queued call too, dropped above: they go here.
    for (const Entry& entry : m_entries)
        delete entry.thread.data();
    m_entries.clear();
    return true;
}
