#include "platform/mupdf/FitzFrame.h"

namespace qpmupdf {

__attribute__((noinline)) bool fzRunFunction(fz_context* ctx, void (*function)(void*), void* argument)
{
    volatile bool ok = true;
    fz_try(ctx)
    {
        try {
            function(argument);
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

} // namespace qpmupdf
