#pragma once

#include "platform/mupdf/FitzFrame.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace qpmupdf {

// How long one page may take: a heavy page renders in a few seconds, a hostile one is cut off.
constexpr std::chrono::milliseconds pageTimeLimit{20000};
// How often keepGoing is asked while a page runs.
constexpr std::chrono::milliseconds keepGoingInterval{500};
// How often the process's memory is looked at while a page runs: a page that allocates as fast
// as the machine can goes at most some tens of megabytes over its cap in that time.
constexpr std::chrono::milliseconds memoryWatchInterval{5};

// The memory the process holds now (its resident set, in bytes); 0 when it cannot be read.
size_t residentBytes();

enum class RunEnd {
    Finished,
    Failed,     // MuPDF raised an error
    OverTime,   // the page ran longer than the time limit
    OverMemory, // the page needed more memory than the context's cap
    Stopped,    // keepGoing answered false
};

struct RunOutcome
{
    RunEnd end = RunEnd::Failed;
    std::string message; // why it did not finish
    bool finished() const { return end == RunEnd::Finished; }
};

struct RunWatch
{
    std::chrono::milliseconds timeLimit = pageTimeLimit;
    // Asked on the calling thread every keepGoingInterval while the page runs; false stops it.
    // The time spent inside does not count against the time limit (the caller may wait in it).
    std::function<bool()> keepGoing;
};

RunOutcome runPageFunction(fz_context* ctx, void (*function)(void*, fz_cookie*), void* argument, const RunWatch& watch);

// Runs the work of one page (loading it, running it through devices) under the page limits:
// body(cookie) runs on a helper thread inside MuPDF's error frame (see fzRun) and hands the cookie
// to every MuPDF call that takes one; the calling thread waits, and aborts the run through the
// cookie when the time limit passes or keepGoing answers false. While aborted, the context refuses
// memory, so MuPDF stops also where it does not look at the cookie. The context's memory cap holds
// for the process as a whole too: a run that makes the process grow by more than the cap (with the
// caller's own structures, which MuPDF does not see) is aborted as over memory. The context must not be used
// otherwise until runPage returns. A run whose cookie was aborted never counts as finished, even
// when MuPDF returned normally with a partial result.
template <typename Body>
RunOutcome runPage(fz_context* ctx, Body&& body, const RunWatch& watch = RunWatch())
{
    using Callable = std::remove_reference_t<Body>;
    return runPageFunction(
        ctx, [](void* argument, fz_cookie* cookie) { (*static_cast<Callable*>(argument))(cookie); }, &body, watch);
}

} // namespace qpmupdf
