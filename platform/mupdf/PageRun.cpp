#include "platform/mupdf/PageRun.h"

#include "platform/mupdf/FitzContext.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <malloc.h>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace qpmupdf {

namespace {

// Under AddressSanitizer the process holds shadow memory and freed blocks in quarantine besides
// what the page takes: its size says nothing about the page there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool watchResidentMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool watchResidentMemory = false;
#else
constexpr bool watchResidentMemory = true;
#endif
#else
constexpr bool watchResidentMemory = true;
#endif

// Above the least the process held at the start of a run by more than this, the allocator gives
// back what it keeps before a run.
constexpr size_t trimAbove = size_t(64) << 20;

using Clock = std::chrono::steady_clock;

std::string limitMessage(RunEnd end, const RunWatch& watch)
{
    switch (end) {
    case RunEnd::OverTime: {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", watch.timeLimit.count() / 1000.0);
        return std::string("The page took longer than ") + seconds + " s";
    }
    case RunEnd::OverMemory:
        return "The page needs more than " + std::to_string(memoryCap >> 20) + " MB of memory";
    case RunEnd::Stopped:
        return "Stopped";
    default:
        return std::string();
    }
}

} // namespace

size_t residentBytes()
{
    // "size resident shared text lib data dt", in pages.
    const int file = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return 0;
    char text[128];
    const ssize_t length = ::read(file, text, sizeof text - 1);
    ::close(file);
    if (length <= 0)
        return 0;
    text[length] = 0;
    unsigned long size = 0;
    unsigned long resident = 0;
    if (std::sscanf(text, "%lu %lu", &size, &resident) != 2)
        return 0;
    return size_t(resident) * size_t(::sysconf(_SC_PAGESIZE));
}

RunOutcome runPageFunction(fz_context* ctx, void (*function)(void*, fz_cookie*), void* argument, const RunWatch& watch)
{
    fz_cookie cookie = {};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool ok = false;
    std::string message;
    const size_t refusalsBefore = capRefusals(ctx);
    // The cap holds for everything the page's work takes, not only MuPDF's blocks: the caller's
    // own page model and what the allocator keeps around them count too. What earlier pages
    // freed goes back to the system first, so that the process's growth is the page's.
    size_t residentLimit = 0;
    if (watchResidentMemory) {
        size_t residentBefore = residentBytes();
        // What earlier pages freed but the allocator kept would count as the page's own start:
        // it goes back to the system first when there is much of it (giving back takes time,
        // which a run of small pages should not spend).
        static std::atomic<size_t> leastBefore{SIZE_MAX};
        if (residentBefore > leastBefore.load() + trimAbove) {
            malloc_trim(0);
            residentBefore = residentBytes();
        }
        if (residentBefore < leastBefore.load())
            leastBefore = residentBefore;
        residentLimit = residentBefore ? residentBefore + memoryCapOf(ctx) : 0;
    }

    std::thread worker([&] {
        const bool ran = fzRun(ctx, [&] { function(argument, &cookie); });
        std::string caught = ran ? std::string() : std::string(fz_caught_message(ctx));
        std::lock_guard<std::mutex> lock(mutex);
        ok = ran;
        message = std::move(caught);
        done = true;
        ended.notify_one();
    });

    RunEnd abortedAs = RunEnd::Finished;
    auto abort = [&](RunEnd reason) {
        abortedAs = reason;
        refuseMemory(ctx, true);
        // MuPDF reads the flag between operations, from the running thread.
        __atomic_store_n(&cookie.abort, 1, __ATOMIC_RELAXED);
    };
    Clock::time_point deadline = Clock::now() + watch.timeLimit;
    Clock::time_point nextQuestion = Clock::now() + keepGoingInterval;
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!done) {
            if (abortedAs != RunEnd::Finished) {
                ended.wait(lock, [&] { return done; });
                break;
            }
            Clock::time_point wake = watch.keepGoing ? std::min(deadline, nextQuestion) : deadline;
            if (residentLimit)
                wake = std::min(wake, Clock::now() + memoryWatchInterval);
            if (ended.wait_until(lock, wake, [&] { return done; }))
                break;
            const Clock::time_point now = Clock::now();
            if (residentLimit && residentBytes() > residentLimit) {
                abort(RunEnd::OverMemory);
            } else if (now >= deadline) {
                abort(RunEnd::OverTime);
            } else if (watch.keepGoing && now >= nextQuestion) {
                lock.unlock();
                const bool keepGoing = watch.keepGoing();
                const Clock::time_point answered = Clock::now();
                lock.lock();
                deadline += answered - now;
                nextQuestion = answered + keepGoingInterval;
                if (!keepGoing && !done)
                    abort(RunEnd::Stopped);
            }
        }
    }
    worker.join();
    refuseMemory(ctx, false);

    // MuPDF goes on without what it could not get memory for (a picture left blank, the rest of
    // the page skipped), so any final refusal of the cap fails the page.
    RunOutcome outcome;
    if (abortedAs != RunEnd::Finished)
        outcome.end = abortedAs;
    else if (capRefusals(ctx) != refusalsBefore)
        outcome.end = RunEnd::OverMemory;
    else
        outcome.end = ok ? RunEnd::Finished : RunEnd::Failed;
    // What a cut-off run left in MuPDF's cache (a picture decoded blank for want of memory, say)
    // must not serve the next run of the page as if it were whole.
    if (outcome.end != RunEnd::Finished && outcome.end != RunEnd::Failed)
        fz_empty_store(ctx);
    outcome.message = outcome.end == RunEnd::Failed ? message : limitMessage(outcome.end, watch);
    return outcome;
}

} // namespace qpmupdf
