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
    std::vector<pdf_obj*> chain;                // the objects on the way down
    std::unordered_map<pdf_obj*, int> walkedAt; // the deepest level each object was looked into at
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

// The resources an object draws its content with. One without resources of its own draws with
// those it is drawn with (MuPDF lends them, as readers do): a Type 3 glyph that shows its own font
// through the page's resources draws itself without end. Such an object is given a copy of the
// lent resources as its own, so that what is cut below it is cut from its copy alone and the
// level that draws it stays whole.
pdf_obj* resourcesOf(fz_context* ctx, pdf_obj* object, pdf_obj* lent)
{
    pdf_obj* own = pdf_dict_get(ctx, object, PDF_NAME(Resources));
    lent = pdf_resolve_indirect(ctx, lent);
    if (own || !pdf_is_dict(ctx, lent))
        return own;
    pdf_obj* copy = pdf_copy_dict(ctx, lent);
    pdf_dict_put_drop(ctx, object, PDF_NAME(Resources), copy);
    for (pdf_obj* kind : {PDF_NAME(XObject), PDF_NAME(Font), PDF_NAME(Pattern)}) {
        pdf_obj* entries = pdf_resolve_indirect(ctx, pdf_dict_get(ctx, copy, kind));
        if (pdf_is_dict(ctx, entries))
            pdf_dict_put_drop(ctx, copy, kind, pdf_copy_dict(ctx, entries));
    }
    return copy;
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
        // Objects are told apart by where they are held, so that direct ones count too.
        pdf_obj* held = pdf_resolve_indirect(ctx, object);
        const bool inside = std::find(walk.chain.begin(), walk.chain.end(), held) != walk.chain.end();
        if (inside || depth >= kDeepest) {
            ++(inside ? walk.drawnInside : walk.tooDeep);
            pdf_dict_del(ctx, entries, pdf_dict_get_key(ctx, entries, i));
            continue;
        }
        // Looked into at this level or deeper before: what lies too deep below it is cut already.
        const auto walked = walk.walkedAt.find(held);
        if (walked != walk.walkedAt.end() && walked->second >= depth + 1)
            continue;
        walk.walkedAt[held] = depth + 1;
        walk.chain.push_back(held);
        walkResources(walk, resourcesOf(ctx, object, resources), depth + 1);
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
