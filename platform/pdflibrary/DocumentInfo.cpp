#include "platform/pdflibrary/DocumentInfo.h"

#include "platform/pdflibrary/BaseCodes.h"
#include "platform/pdflibrary/ErrorCodes.h"

#include <set>

namespace dpl {

pdf_obj* informationKeyName(int key)
{
    switch (key) {
    case 1: return PDF_NAME(Author);
    case 2: return PDF_NAME(Title);
    case 3: return PDF_NAME(Subject);
    case 4: return PDF_NAME(Keywords);
    case 5: return PDF_NAME(Creator);
    case 6: return PDF_NAME(Producer);
    case 7: return PDF_NAME(CreationDate);
    case 8: return PDF_NAME(ModDate);
    default: return nullptr;
    }
}

int readInformation(fz_context* ctx, pdf_document* doc, int key, std::string* value)
{
    pdf_obj* name = informationKeyName(key);
    if (!name)
        return InfoBadKey;
    const char* text = nullptr;
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* info = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Info));
        text = pdf_dict_get_text_string(ctx, info, name);
        value->assign(text ? text : "");
    });
    return ok ? NoError : InternalError;
}

int writeInformation(fz_context* ctx, pdf_document* doc, int key, const std::string& value)
{
    pdf_obj* name = informationKeyName(key);
    if (!name)
        return InfoBadKey;
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* info = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Info));
        if (!pdf_is_dict(ctx, info)) {
            info = pdf_add_new_dict(ctx, doc, 8);
            // Adding the first object of an edit gives the document a new trailer: fetch it now.
            pdf_dict_put_drop(ctx, pdf_trailer(ctx, doc), PDF_NAME(Info), info);
        }
        pdf_dict_put_text_string(ctx, info, name, value.c_str());
    });
    return ok ? NoError : InternalError;
}

bool securityItem(fz_context* ctx, pdf_document* doc, int item, int* value)
{
    switch (item) {
    case 0:
        *value = doc->crypt ? 1 : 0;
        return true;
    case 5:
        *value = doc->crypt ? pdf_crypt_revision(ctx, doc->crypt) : 0;
        return true;
    default:
        return false;
    }
}

namespace {

constexpr int maximumFormDepth = 32;

struct FontCensus
{
    std::set<int> fonts;   // indirect font objects
    int directFonts = 0;   // font dictionaries written inline
    std::set<int> visited; // resource dictionaries and forms already seen
};

// Runs inside the engine's error frame.
void visitResources(fz_context* ctx, pdf_obj* resources, int depth, FontCensus& census)
{
    if (!pdf_is_dict(ctx, resources) || depth > maximumFormDepth)
        return;
    if (pdf_is_indirect(ctx, resources) && !census.visited.insert(pdf_to_num(ctx, resources)).second)
        return;
    pdf_obj* fonts = pdf_dict_get(ctx, resources, PDF_NAME(Font));
    for (int i = 0, n = pdf_dict_len(ctx, fonts); i < n; ++i) {
        pdf_obj* font = pdf_dict_get_val(ctx, fonts, i);
        if (pdf_is_indirect(ctx, font))
            census.fonts.insert(pdf_to_num(ctx, font));
        else if (pdf_is_dict(ctx, font))
            ++census.directFonts;
    }
    pdf_obj* xobjects = pdf_dict_get(ctx, resources, PDF_NAME(XObject));
    for (int i = 0, n = pdf_dict_len(ctx, xobjects); i < n; ++i) {
        pdf_obj* xobject = pdf_dict_get_val(ctx, xobjects, i);
        if (!pdf_name_eq(ctx, pdf_dict_get(ctx, xobject, PDF_NAME(Subtype)), PDF_NAME(Form)))
            continue;
        if (pdf_is_indirect(ctx, xobject) && !census.visited.insert(pdf_to_num(ctx, xobject)).second)
            continue;
        visitResources(ctx, pdf_dict_get(ctx, xobject, PDF_NAME(Resources)), depth + 1, census);
    }
}

} // namespace

int countFonts(fz_context* ctx, pdf_document* doc)
{
    FontCensus census;
    int pages = 0;
    fzRun(ctx, [&] { pages = pdf_count_pages(ctx, doc); });
    for (int page = 0; page < pages; ++page) {
        fzRun(ctx, [&] {
            pdf_obj* object = pdf_lookup_page_obj(ctx, doc, page);
            visitResources(ctx, pdf_dict_get_inheritable(ctx, object, PDF_NAME(Resources)), 0, census);
        });
    }
    return int(census.fonts.size()) + census.directFonts;
}

int pageText(fz_context* ctx, pdf_document* doc, int page, std::string* text)
{
    pdf_page* loaded = nullptr;
    fz_stext_page* structured = nullptr;
    fz_device* device = nullptr;
    fz_buffer* buffer = nullptr;
    const qpmupdf::RunOutcome outcome = qpmupdf::runPage(ctx, [&](fz_cookie* cookie) {
        loaded = pdf_load_page(ctx, doc, page - 1);
        structured = fz_new_stext_page(ctx, pdf_bound_page(ctx, loaded));
        device = fz_new_stext_device(ctx, structured, nullptr);
        pdf_run_page(ctx, loaded, device, fz_identity, cookie);
        fz_close_device(ctx, device);
        buffer = fz_new_buffer_from_stext_page(ctx, structured);
    });
    const int error = pageRunError(outcome, RenderFailed);
    if (!error) {
        unsigned char* data = nullptr;
        const size_t size = fz_buffer_storage(ctx, buffer, &data);
        text->assign(reinterpret_cast<const char*>(data), size);
    }
    fz_drop_buffer(ctx, buffer);
    fz_drop_device(ctx, device);
    fz_drop_stext_page(ctx, structured);
    fz_drop_page(ctx, reinterpret_cast<fz_page*>(loaded));
    return error;
}

} // namespace dpl
