#pragma once

// The PDF engine's headers and the one way this library calls into it.

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

namespace dpl {

// Runs body inside the engine's error frame and returns false when the engine raised an error.
// The engine unwinds with longjmp, so body must not own objects with destructors while it calls
// the engine: it works on raw pointers and writes its results into variables of the caller, which
// releases what body acquired after fzRun returns. A C++ exception from body counts as a failure
// too and never crosses the engine's frame.
template <typename Body>
bool fzRun(fz_context* ctx, Body&& body)
{
    volatile bool ok = true;
    fz_try(ctx)
    {
        try {
            body();
        } catch (...) {
            ok = false;
        }
    }
    fz_catch(ctx)
    {
        ok = false;
    }
    return ok;
}

} // namespace dpl
