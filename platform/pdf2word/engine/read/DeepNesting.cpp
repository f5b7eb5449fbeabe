#include "platform/pdf2word/engine/read/DeepNesting.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace p2w {

namespace {

// MuPDF runs 64 levels of forms inside forms within a page's run; at 100 the stack of error
// frames that each level adds to runs out and the page fails.
const int kDeepest = 64;

struct Walk
{
    fz_context* ctx = nullptr;
    std::vector<int> chain;                // the objects on the way down, by number
    std::unordered_map<int, int> walkedAt; // the deepest level each object was looked into at
    int tooDeep = 0;
    int drawnInside = 0;
};

void walkResources(Walk& walk, pdf_obj* resources, int depth);

// Whether a resource of the kind draws content of its own with resources of its own: a form, a
// Type 3 font, a tiling pattern.
bool drawsContent(fz_context* ctx, pdf_obj* kind, pdf_obj* object)
{
    if (kind == PDF_NAME(XObject))
        return pdf_name_eq(ctx, pdf_dict_get(ctx, object, PDF_NAME(Subtype)), PDF_NAME(Form));
    if (kind == PDF_NAME(Font))
        return pdf_name_eq(ctx, pdf_dict_get(ctx, object, PDF_NAME(Subtype)), PDF_NAME(Type3));
    return pdf_dict_get_int(ctx, object, PDF_NAME(PatternType)) == 1;
}

// The entries of one kind in resources drawn at depth: those a level too deep, or already on the
// way down, are taken out; the others are looked into.
void walkEntries(Walk& walk, pdf_obj* resources, pdf_obj* kind, int depth)
{
    fz_context* ctx = walk.ctx;
    pdf_obj* entries = pdf_dict_get(ctx, resources, kind);
    for (int i = pdf_dict_len(ctx, entries) - 1; i >= 0; --i) {
        pdf_obj* object = pdf_dict_get_val(ctx, entries, i);
        if (!drawsContent(ctx, kind, object))
            continue;
        const int number = pdf_is_indirect(ctx, object) ? pdf_to_num(ctx, object) : 0;
        const bool inside = number > 0 && std::find(walk.chain.begin(), walk.chain.end(), number) != walk.chain.end();
        if (inside || depth >= kDeepest) {
            ++(inside ? walk.drawnInside : walk.tooDeep);
            pdf_dict_del(ctx, entries, pdf_dict_get_key(ctx, entries, i));
            continue;
        }
        // Looked into at this level or deeper before: what lies too deep below it is cut already.
        if (number > 0) {
            const auto walked = walk.walkedAt.find(number);
            if (walked != walk.walkedAt.end() && walked->second >= depth + 1)
                continue;
            walk.walkedAt[number] = depth + 1;
            walk.chain.push_back(number);
        }
        walkResources(walk, pdf_dict_get(ctx, object, PDF_NAME(Resources)), depth + 1);
        if (number > 0)
            walk.chain.pop_back();
    }
}

void walkResources(Walk& walk, pdf_obj* resources, int depth)
{
    for (pdf_obj* kind : {PDF_NAME(XObject), PDF_NAME(Font), PDF_NAME(Pattern)})
        walkEntries(walk, resources, kind, depth);
}

} // namespace

bool cutDeepNesting(fz_context* ctx, pdf_document* document, int pageIndex, QStringList* notes)
{
    Walk walk;
    walk.ctx = ctx;
    fzRun(ctx, [&] {
        pdf_obj* page = pdf_lookup_page_obj(ctx, document, pageIndex);
        walkResources(walk, pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources)), 0);
    });
    if (walk.tooDeep > 0)
        notes->append(QStringLiteral("%1 forms, Type 3 fonts or patterns nested deeper than %2 levels left out")
                          .arg(walk.tooDeep)
                          .arg(kDeepest));
    if (walk.drawnInside > 0)
        notes->append(QStringLiteral("%1 forms, Type 3 fonts or patterns drawn inside themselves left out").arg(walk.drawnInside));
    if (walk.tooDeep + walk.drawnInside == 0)
        return false;
    // Fonts and forms MuPDF keeps from the failed run hold what was cut: they are loaded again.
    fz_empty_store(ctx);
    return true;
}

} // namespace p2w
