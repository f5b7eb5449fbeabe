#include "platform/pdflibrary/PageBoxes.h"

#include "platform/pdflibrary/ErrorCodes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace dpl {

namespace {

const fz_rect letterPaper = {0, 0, 612, 792};

fz_rect normalized(fz_rect r)
{
    return {std::min(r.x0, r.x1), std::min(r.y0, r.y1), std::max(r.x0, r.x1), std::max(r.y0, r.y1)};
}

// A box entry of the page (inherited ones included), or false when it has none.
bool boxEntry(fz_context* ctx, pdf_obj* page, pdf_obj* key, fz_rect* box)
{
    pdf_obj* value = pdf_dict_get_inheritable(ctx, page, key);
    if (!pdf_is_array(ctx, value))
        return false;
    *box = normalized(pdf_to_rect(ctx, value));
    return true;
}

// Page sizes from 1 to 14400 points.
bool usablePageSize(double width, double height)
{
    return width >= 1.0 && width <= 14400.0 && height >= 1.0 && height <= 14400.0;
}

fz_rect cutTo(fz_rect box, fz_rect limit)
{
    fz_rect cut = fz_intersect_rect(box, limit);
    if (cut.x1 < cut.x0 || cut.y1 < cut.y0)
        return {limit.x0, limit.y0, limit.x0, limit.y0};
    return cut;
}

} // namespace

int pageBox(fz_context* ctx, pdf_document* doc, int page, PageBoxType type, fz_rect* box)
{
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* object = pdf_lookup_page_obj(ctx, doc, page - 1);
        fz_rect media = letterPaper;
        boxEntry(ctx, object, PDF_NAME(MediaBox), &media);
        fz_rect crop = media;
        fz_rect other;
        if (boxEntry(ctx, object, PDF_NAME(CropBox), &other) && !fz_is_empty_rect(other))
            crop = cutTo(other, media);
        switch (type) {
        case PageBoxType::Media: *box = media; break;
        case PageBoxType::Crop: *box = crop; break;
        case PageBoxType::Bleed:
        case PageBoxType::Trim:
        case PageBoxType::Art: {
            pdf_obj* key = type == PageBoxType::Bleed ? PDF_NAME(BleedBox) : type == PageBoxType::Trim ? PDF_NAME(TrimBox)
                                                                                                       : PDF_NAME(ArtBox);
            *box = boxEntry(ctx, object, key, &other) ? cutTo(other, media) : crop;
            break;
        }
        }
    });
    return ok ? NoError : PageOutOfRange;
}

int pageRotation(fz_context* ctx, pdf_document* doc, int page, int* rotation)
{
    int degrees = 0;
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* object = pdf_lookup_page_obj(ctx, doc, page - 1);
        degrees = pdf_to_int(ctx, pdf_dict_get_inheritable(ctx, object, PDF_NAME(Rotate)));
    });
    if (!ok)
        return PageOutOfRange;
    degrees %= 360;
    if (degrees < 0)
        degrees += 360;
    *rotation = ((degrees + 45) / 90 % 4) * 90;
    return NoError;
}

bool paperSize(const std::string& name, double* width, double* height)
{
    std::string key;
    for (char c : name)
        key += char(std::tolower(static_cast<unsigned char>(c)));
    bool landscape = false;
    const std::string suffix = " landscape";
    if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) {
        landscape = true;
        key.resize(key.size() - suffix.size());
    }
    struct Paper
    {
        const char* name;
        double width;
        double height;
    };
    static const Paper papers[] = {
        {"letter", 612, 792},
        {"a3", 842, 1191},
        {"a4", 595, 842},
        {"a5", 420, 595},
        {"b5", 499, 709},
    };
    for (const Paper& paper : papers) {
        if (key == paper.name) {
            *width = landscape ? paper.height : paper.width;
            *height = landscape ? paper.width : paper.height;
            return true;
        }
    }
    return false;
}

int setPageDimensions(fz_context* ctx, pdf_document* doc, int page, double width, double height)
{
    if (!usablePageSize(width, height))
        return InvalidArgument;
    const fz_rect box = {0, 0, float(width), float(height)};
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* object = pdf_lookup_page_obj(ctx, doc, page - 1);
        pdf_dict_put_rect(ctx, object, PDF_NAME(MediaBox), box);
        pdf_dict_del(ctx, object, PDF_NAME(CropBox));
        pdf_dict_del(ctx, object, PDF_NAME(BleedBox));
        pdf_dict_del(ctx, object, PDF_NAME(TrimBox));
        pdf_dict_del(ctx, object, PDF_NAME(ArtBox));
        // A crop box inherited from a parent would still cut the new size.
        if (pdf_dict_get_inheritable(ctx, object, PDF_NAME(CropBox)))
            pdf_dict_put_rect(ctx, object, PDF_NAME(CropBox), box);
    });
    return ok ? NoError : PageOutOfRange;
}

int appendBlankPage(fz_context* ctx, pdf_document* doc, double width, double height, int* page)
{
    if (!usablePageSize(width, height))
        return InvalidArgument;
    pdf_obj* resources = nullptr;
    fz_buffer* contents = nullptr;
    pdf_obj* object = nullptr;
    const bool ok = fzRun(ctx, [&] {
        resources = pdf_new_dict(ctx, doc, 1);
        contents = fz_new_buffer(ctx, 1);
        object = pdf_add_page(ctx, doc, fz_make_rect(0, 0, float(width), float(height)), 0, resources, contents);
        pdf_insert_page(ctx, doc, -1, object);
        *page = pdf_count_pages(ctx, doc);
    });
    pdf_drop_obj(ctx, object);
    fz_drop_buffer(ctx, contents);
    pdf_drop_obj(ctx, resources);
    return ok ? NoError : InternalError;
}

bool usablePlacementBox(double left, double top, double width, double height)
{
    constexpr double limit = 1e6; // far beyond any page; keeps the numbers printable
    return width > 0.0 && width <= limit && height > 0.0 && height <= limit && std::fabs(left) <= limit
           && std::fabs(top) <= limit;
}

bool fitImagePlacement(int imageWidth, int imageHeight, double left, double top, double width, double height,
                       int hAlign, int vAlign, int rotation, ImagePlacement* placement)
{
    if (imageWidth < 1 || imageHeight < 1 || hAlign < 0 || hAlign > 2 || vAlign < 0 || vAlign > 2 || rotation < 0 || rotation > 3)
        return false;
    if (!usablePlacementBox(left, top, width, height))
        return false;
    const bool quarterTurn = rotation == 1 || rotation == 2;
    // The image's footprint on the page once turned.
    const double footprintWidth = quarterTurn ? imageHeight : imageWidth;
    const double footprintHeight = quarterTurn ? imageWidth : imageHeight;
    const double scale = std::min(width / footprintWidth, height / footprintHeight);
    const double w = footprintWidth * scale;
    const double h = footprintHeight * scale;
    const double x = left + (width - w) * hAlign / 2.0;
    const double y = top - (height - h) * vAlign / 2.0 - h; // bottom edge of the footprint
    switch (rotation) {
    case 0: *placement = {w, 0, 0, h, x, y}; break;
    case 1: *placement = {0, h, -w, 0, x + w, y}; break; // image top to the left
    case 2: *placement = {0, -h, w, 0, x, y + h}; break; // image top to the right
    case 3: *placement = {-w, 0, 0, -h, x + w, y + h}; break;
    }
    return true;
}

namespace {

// Runs inside the engine's error frame. Returns the page's own resource dictionary, copying an
// inherited one into the page first so that additions stay with this page.
pdf_obj* ownResources(fz_context* ctx, pdf_document* doc, pdf_obj* page)
{
    pdf_obj* resources = pdf_dict_get(ctx, page, PDF_NAME(Resources));
    if (pdf_is_dict(ctx, resources))
        return resources;
    pdf_obj* inherited = pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources));
    if (pdf_is_dict(ctx, inherited))
        pdf_dict_put_drop(ctx, page, PDF_NAME(Resources), pdf_copy_dict(ctx, inherited));
    else
        pdf_dict_put_dict(ctx, page, PDF_NAME(Resources), 1);
    return pdf_dict_get(ctx, page, PDF_NAME(Resources));
}

// The name under which the page's resources know the image, adding it when needed.
void imageResourceName(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* xobject, char (&name)[32])
{
    pdf_obj* xobjects = pdf_dict_get(ctx, resources, PDF_NAME(XObject));
    if (!pdf_is_dict(ctx, xobjects))
        xobjects = pdf_dict_put_dict(ctx, resources, PDF_NAME(XObject), 1);
    for (int i = 1;; ++i) {
        std::snprintf(name, sizeof name, "Im%d", i);
        pdf_obj* existing = pdf_dict_gets(ctx, xobjects, name);
        if (!existing) {
            pdf_dict_puts(ctx, xobjects, name, xobject);
            return;
        }
        if (pdf_is_indirect(ctx, existing) && pdf_to_num(ctx, existing) == pdf_to_num(ctx, xobject))
            return;
    }
}

// A real number as content streams take it: fixed point, no exponent, no trailing zeros.
struct Number
{
    char c[32];
};

Number number(double value)
{
    Number n;
    if (!std::isfinite(value) || std::fabs(value) < 1e-6)
        value = 0.0;
    std::snprintf(n.c, sizeof n.c, "%.4f", value);
    char* end = n.c + std::strlen(n.c) - 1;
    while (*end == '0')
        *end-- = '\0';
    if (*end == '.')
        *end = '\0';
    if (std::strcmp(n.c, "-0") == 0)
        std::strcpy(n.c, "0");
    return n;
}

bool isEmptyStream(fz_context* ctx, pdf_obj* stream)
{
    if (!pdf_is_stream(ctx, stream))
        return false;
    fz_buffer* data = pdf_load_stream(ctx, stream);
    const size_t length = fz_buffer_storage(ctx, data, nullptr);
    fz_drop_buffer(ctx, data);
    return length == 0;
}

// Adds drawing operators after the page's content, which is wrapped in q/Q so that whatever
// graphics state it leaves behind does not affect them.
void appendContent(fz_context* ctx, pdf_document* doc, pdf_obj* page, fz_buffer* operators)
{
    pdf_obj* contents = pdf_dict_get(ctx, page, PDF_NAME(Contents));
    if (!contents) {
        pdf_dict_put_drop(ctx, page, PDF_NAME(Contents), pdf_add_stream(ctx, doc, operators, nullptr, 0));
        return;
    }
    if (pdf_is_indirect(ctx, contents) && isEmptyStream(ctx, contents)) {
        pdf_update_stream(ctx, doc, contents, operators, 0);
        return;
    }
    fz_buffer* opening = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char*>("q\n"), 2);
    fz_buffer* closing = fz_new_buffer(ctx, fz_buffer_storage(ctx, operators, nullptr) + 4);
    pdf_obj* parts = nullptr;
    fz_var(parts);
    fz_try(ctx)
    {
        fz_append_string(ctx, closing, "\nQ\n");
        fz_append_buffer(ctx, closing, operators);
        parts = pdf_new_array(ctx, doc, 4);
        pdf_array_push_drop(ctx, parts, pdf_add_stream(ctx, doc, opening, nullptr, 0));
        if (pdf_is_array(ctx, contents)) {
            for (int i = 0, n = pdf_array_len(ctx, contents); i < n; ++i)
                pdf_array_push(ctx, parts, pdf_array_get(ctx, contents, i));
        } else {
            pdf_array_push(ctx, parts, contents);
        }
        pdf_array_push_drop(ctx, parts, pdf_add_stream(ctx, doc, closing, nullptr, 0));
        pdf_dict_put(ctx, page, PDF_NAME(Contents), parts);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, parts);
        fz_drop_buffer(ctx, opening);
        fz_drop_buffer(ctx, closing);
    }
    fz_catch(ctx)
    {
        fz_rethrow(ctx);
    }
}

} // namespace

int drawImageOnPage(fz_context* ctx, pdf_document* doc, int page, DocumentImage& image, const ImagePlacement& p)
{
    if (!image.xobject)
        return NoImage;
    fz_buffer* operators = nullptr;
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* object = pdf_lookup_page_obj(ctx, doc, page - 1);
        pdf_obj* resources = ownResources(ctx, doc, object);
        char name[32];
        imageResourceName(ctx, doc, resources, image.xobject, name);
        char text[256];
        std::snprintf(text, sizeof text, "q %s %s %s %s %s %s cm /%s Do Q\n", number(p.a).c, number(p.b).c,
                      number(p.c).c, number(p.d).c, number(p.e).c, number(p.f).c, name);
        operators = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char*>(text), std::strlen(text));
        appendContent(ctx, doc, object, operators);
    });
    fz_drop_buffer(ctx, operators);
    if (!ok)
        return InternalError;
    image.drawn = true;
    return NoError;
}

} // namespace dpl
