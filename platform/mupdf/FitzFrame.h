#pragma once

// MuPDF's headers and the one way our code calls into MuPDF.

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <type_traits>

namespace qpmupdf {

// Runs body inside MuPDF's error frame; false when MuPDF raised an error (or body threw).
// MuPDF unwinds with longjmp, so body must not own objects with destructors while it calls
// MuPDF: it works on raw pointers declared by the caller, who releases them afterwards. The
// frame lives in a separate, never-inlined function, so the caller's variables are in memory
// (not in registers that longjmp would leave stale) when fzRun returns. A C++ exception from body
// counts as a failure and never crosses MuPDF's frame.
bool fzRunFunction(fz_context* ctx, void (*function)(void*), void* argument);

template <typename Body>
bool fzRun(fz_context* ctx, Body&& body)
{
    using Callable = std::remove_reference_t<Body>;
    return fzRunFunction(
        ctx, [](void* argument) { (*static_cast<Callable*>(argument))(); }, &body);
}

} // namespace qpmupdf
