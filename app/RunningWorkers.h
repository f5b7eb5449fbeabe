#pragma once

#include <QList>
#include <QPointer>
#include <QThread>

class CheckController;
class IProgress;

// The conversion threads that run while the program is open. At shutdown the application stops
// them and waits for them before it destroys anything a worker uses (the PDF service, the
// progress control, the application itself).
class RunningWorkers
{
public:
    // Registers a worker's thread and the progress it polls for stop. Call on the GUI thread
    // before the thread starts; the progress must outlive the thread.
    void add(QThread* thread, IProgress* progress);

    // Threads that are still running.
    int count() const;

    // Stops every running worker (closes the scanned-PDF question and asks each progress to
    // stop) and waits up to timeoutMs for their threads. Returns true when all have ended; the
    // ended threads are then deleted.
    //
    // While it waits, queued calls posted to the GUI thread are dropped rather than delivered:
    // the views they address are about to go, and dropping a blocking queued call releases the
    // worker thread that waits for it.
    bool stopAll(CheckController* checkController, int timeoutMs);

private:
    struct Entry
    {
        QPointer<QThread> thread;
        IProgress* progress;
    };
    void forgetEnded();

    QList<Entry> m_entries;
};
