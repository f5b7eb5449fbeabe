// Fuzzes opening a PDF with the MuPDF base: MuPDF's own repair of the cross-reference table, the
// cut after the last complete object, the page-tree walk and rebuild. Every page of the opened
// document (up to a bound) is then loaded and measured, which is what a rebuilt tree is for.
#include "tests/fuzz/targets/PdfFuzzing.h"

namespace {

// Enough pages to reach past a rebuilt tree's first node, few enough to keep each run short.
const int kPagesLoaded = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PdfFuzzing::OpenedInput input = PdfFuzzing::open(data, size);
    if (!input.document)
        return 0;
    fz_context* ctx = input.context.get();
    fz_document* document = &input.document->super;
    int pages = 0;
    qpmupdf::fzRun(ctx, [&] { pages = fz_count_pages(ctx, document); });
    for (int index = 0; index < pages && index < kPagesLoaded; ++index) {
        fz_page* page = nullptr;
        // A page that is damaged in itself may fail to load; that is MuPDF's answer, not a fault.
        qpmupdf::fzRun(ctx, [&] {
            page = fz_load_page(ctx, document, index);
            fz_bound_page(ctx, page);
        });
        fz_drop_page(ctx, page);
    }
    return 0;
}
