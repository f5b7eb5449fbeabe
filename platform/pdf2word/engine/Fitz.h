#pragma once

// MuPDF's headers and the one way the engine calls into MuPDF.

#include <mupdf/fitz.h>

namespace p2w {

// Runs body inside MuPDF's error frame; false when MuPDF raised an error (or body threw).
// MuPDF unwinds with longjmp, so body must not own objects with destructors while it calls
// MuPDF: it works on raw pointers declared by the caller, who releases them afterwards. The
// frame lives in a separate, never-inlined function, so the caller's variables are in memory
// (not in registers that longjmp would leave stale) when fzRun returns.
bool fzRunFunction(fz_context* ctx, void (*function)(void*), void* argument);

template <typename Body>
bool fzRun(fz_context* ctx, Body&& body)
{
    return fzRunFunction(
        ctx, [](void* argument) { (*static_cast<Body*>(argument))(); }, &body);
}

} // namespace p2w
