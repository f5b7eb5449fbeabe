#pragma once

#include "platform/mupdf/FitzFrame.h"

#include <cstddef>
#include <memory>

namespace qpmupdf {

// A 600-dpi A3 page (7016 x 9921 pixels) with four bytes a pixel: the largest raster the program
// asks for, about 278 MB.
constexpr size_t largestPageBytes = size_t(7016) * 9921 * 4;
// What one context may hold at once: that page's raster, a picture as large as the page decoded
// and its colour-converted copy, and room for fonts, display lists and the cache. A page that
// needs more (a picture of 100000 x 100000 pixels in a small file) fails instead of taking the
// machine's memory.
constexpr size_t memoryCap = 3 * largestPageBytes + (128u << 20);
static_assert(memoryCap <= 1000u * 1000 * 1000, "a context may hold at most 1 GB");

struct ContextDeleter
{
    void operator()(fz_context* ctx) const;
};
using ContextPtr = std::unique_ptr<fz_context, ContextDeleter>;

// A new MuPDF context whose allocations count against memoryCap (the bytes of an opened file
// aside), with its warnings and error messages kept off the error output (set QP_MUPDF_DEBUG to
// see them). Null when MuPDF could not start. A context serves one thread at a time.
ContextPtr newContext(size_t cap = memoryCap);

// The bytes the context holds now, and how often MuPDF finally went without memory because of
// the cap (not counting requests it got after emptying its cache); 0 for a context that
// newContext did not make. Read by the thread that uses the context.
size_t memoryInUse(fz_context* ctx);
// The cap the context was made with; memoryCap for a context that newContext did not make.
size_t memoryCapOf(fz_context* ctx);
size_t capRefusals(fz_context* ctx);

// Counts bytes that the caller holds for a page outside MuPDF (its own model of the page) against
// the context's cap, as MuPDF's blocks count; false, a refusal that fails the page run as over
// memory, when they do not fit. Each charge that succeeded is given back with releaseMemory.
bool chargeMemory(fz_context* ctx, size_t bytes);
void releaseMemory(fz_context* ctx, size_t bytes);

// While it lives, the context's allocations are not counted against the cap; for the bytes of
// an opened file, which the cap is not about.
class UncountedMemory
{
public:
    explicit UncountedMemory(fz_context* ctx);
    ~UncountedMemory();
    UncountedMemory(const UncountedMemory&) = delete;
    UncountedMemory& operator=(const UncountedMemory&) = delete;

private:
    fz_context* m_ctx;
};

// While a page run is aborted, the context refuses all memory, so that MuPDF stops also where it
// does not look at the abort flag.
void refuseMemory(fz_context* ctx, bool refuse);

} // namespace qpmupdf
