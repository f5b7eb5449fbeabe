// Linked into every program of the sanitizer build (QP_SANITIZE), and only there.
//
// Qt 5 starts its threads detached: a thread's own data is released by the thread's exit handler,
// which may still be due when QThread::wait() has returned. Qt's process-wide threads (the D-Bus
// connection thread that the network stack starts) are stopped by Qt's statics as the process
// exits, and the leak check, which runs after all of them, can come before those exit handlers
// and report the thread's data as leaked. This object is constructed before any of Qt's statics,
// so it is destroyed after them and before the leak check: it gives the other threads a moment
// to end.

#include <dirent.h>

#include <chrono>
#include <thread>

namespace {

int threadCount()
{
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return 1;
    int count = 0;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(tasks);
    return count;
}

struct WaitForThreadsAtExit
{
    ~WaitForThreadsAtExit()
    {
        // Threads that live to the end (a thread pool's) are not waited for longer than this.
        constexpr int kMostMs = 100;
        constexpr int kStepMs = 5;
        for (int waited = 0; waited < kMostMs && threadCount() > 1; waited += kStepMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
    }
};

const WaitForThreadsAtExit waitForThreads;

} // namespace
