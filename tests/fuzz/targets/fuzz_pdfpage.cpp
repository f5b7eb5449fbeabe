// Fuzzes the PDF-to-Word engine's reading and layout of one page: the first page of the opened
// document goes into a display list, through the page reader (structured text, rulings, shapes,
// pictures, right-to-left lines) and the layout (tables, figures, footnotes, reading order,
// paragraphs), under the base's page limits as in a conversion.
#include "PageLayout.h"
#include "PageReader.h"
#include "PageRun.h"
#include "PdfFuzzing.h"

namespace {

// Shorter than a conversion's limit: a page cut off here is the limit working, and the fuzzer
// moves on sooner.
const std::chrono::milliseconds kTimeLimit{5000};

// The document is built from the items alone: each paragraph, figure and table must be an item
// exactly once, or it would be lost or written twice.
void checkItems(const p2w::PageLayout& layout)
{
    QVector<int> seen[3] = {QVector<int>(layout.paragraphs.size()), QVector<int>(layout.figures.size()),
                            QVector<int>(layout.tables.size())};
    for (const p2w::PageItem& item : layout.items) {
        QVector<int>& counts = seen[item.kind];
        if (item.index < 0 || item.index >= counts.size())
            PdfFuzzing::fail("a layout item points past its kind's list");
        ++counts[item.index];
    }
    for (const QVector<int>& counts : seen) {
        for (int count : counts) {
            if (count != 1)
                PdfFuzzing::fail("a paragraph, figure or table is not one item exactly once");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PdfFuzzing::OpenedInput input = PdfFuzzing::open(data, size);
    if (!input.document)
        return 0;
    fz_context* ctx = input.context.get();
    fz_document* document = &input.document->super;
    p2w::Looks looks(ctx);
    p2w::PageReader reader(ctx, looks);
    fz_page* page = nullptr;
    fz_display_list* list = nullptr;
    fz_device* listDevice = nullptr;
    QVector<p2w::TextLine> lines;
    p2w::PageGraphics graphics;
    qpmupdf::RunWatch watch;
    watch.timeLimit = kTimeLimit;
    qpmupdf::runPage(
        ctx,
        [&](fz_cookie* cookie) {
            page = fz_load_page(ctx, document, 0);
            const fz_rect mediabox = fz_bound_page(ctx, page);
            list = fz_new_display_list(ctx, mediabox);
            listDevice = fz_new_list_device(ctx, list);
            fz_run_page(ctx, page, listDevice, fz_identity, cookie);
            fz_close_device(ctx, listDevice);
            // The plain road's reading: hidden text too.
            if (reader.read(list, mediabox, true, cookie, &lines, &graphics))
                checkItems(p2w::layOutPage(lines, graphics, mediabox));
        },
        watch);
    fz_drop_device(ctx, listDevice);
    // The shapes borrow the list's pictures: the list goes after them.
    graphics = p2w::PageGraphics();
    fz_drop_display_list(ctx, list);
    fz_drop_page(ctx, page);
    return 0;
}
