#include "platform/mupdf/PageTreeRepair.h"

#include <set>
#include <vector>

namespace qpmupdf {

namespace {

constexpr int maximumTreeDepth = 64;
// A page size of last resort for a recovered page that names none anywhere.
const fz_rect letterPaper = {0, 0, 612, 792};

// What MuPDF's page lookup takes a page-tree node for.
bool isIntermediateNode(fz_context* ctx, pdf_obj* node)
{
    pdf_obj* type = pdf_dict_get(ctx, node, PDF_NAME(Type));
    if (type)
        return pdf_name_eq(ctx, type, PDF_NAME(Pages));
    return pdf_dict_get(ctx, node, PDF_NAME(Kids)) && !pdf_dict_get(ctx, node, PDF_NAME(MediaBox));
}

bool isLeafNode(fz_context* ctx, pdf_obj* node)
{
    pdf_obj* type = pdf_dict_get(ctx, node, PDF_NAME(Type));
    if (type)
        return pdf_name_eq(ctx, type, PDF_NAME(Page));
    return !pdf_dict_get(ctx, node, PDF_NAME(Kids));
}

struct TreeWalk
{
    std::vector<pdf_obj*> leaves; // borrowed references, in tree order
    std::set<int> visited;        // object numbers seen, to catch loops and shared nodes
    bool structureSound = true;   // every node was a dictionary of a known kind, no loops
    bool countsAgree = true;
};

// Walks one intermediate node. Runs inside MuPDF's error frame; holds only raw pointers.
void walkNode(fz_context* ctx, pdf_obj* node, int depth, TreeWalk& walk)
{
    if (depth > maximumTreeDepth) {
        walk.structureSound = false;
        return;
    }
    pdf_obj* kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
    if (!pdf_is_array(ctx, kids)) {
        walk.structureSound = false;
        return;
    }
    const size_t before = walk.leaves.size();
    const int count = pdf_array_len(ctx, kids);
    for (int i = 0; i < count && walk.structureSound; ++i) {
        pdf_obj* kid = pdf_array_get(ctx, kids, i);
        if (pdf_is_indirect(ctx, kid) && !walk.visited.insert(pdf_to_num(ctx, kid)).second) {
            walk.structureSound = false;
            break;
        }
        if (!pdf_is_dict(ctx, kid)) {
            walk.structureSound = false;
        } else if (isIntermediateNode(ctx, kid)) {
            walkNode(ctx, kid, depth + 1, walk);
        } else if (isLeafNode(ctx, kid)) {
            walk.leaves.push_back(kid);
        } else {
            walk.structureSound = false;
        }
    }
    if (pdf_dict_get_int(ctx, node, PDF_NAME(Count)) != int(walk.leaves.size() - before))
        walk.countsAgree = false;
}

TreeWalk walkPageTree(fz_context* ctx, pdf_document* doc)
{
    TreeWalk walk;
    const bool ok = fzRun(ctx, [&] {
        pdf_obj* root = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root));
        pdf_obj* top = pdf_dict_get(ctx, root, PDF_NAME(Pages));
        if (!pdf_is_dict(ctx, top) || !isIntermediateNode(ctx, top)) {
            walk.structureSound = false;
            return;
        }
        if (pdf_is_indirect(ctx, top))
            walk.visited.insert(pdf_to_num(ctx, top));
        walkNode(ctx, top, 0, walk);
    });
    if (!ok)
        walk.structureSound = false;
    return walk;
}

// A dictionary without a /Type that still looks like a page: no kids, not an annotation or field
// (those have a /Subtype), and at least two of the keys only a page has together.
bool carriesPageKeys(fz_context* ctx, pdf_obj* object)
{
    if (pdf_dict_get(ctx, object, PDF_NAME(Kids)) || pdf_dict_get(ctx, object, PDF_NAME(Subtype)))
        return false;
    pdf_obj* contents = pdf_dict_get(ctx, object, PDF_NAME(Contents));
    const int keys = (pdf_array_len(ctx, pdf_dict_get(ctx, object, PDF_NAME(MediaBox))) == 4)
                     + (pdf_is_stream(ctx, contents) || pdf_is_array(ctx, contents))
                     + pdf_is_dict(ctx, pdf_dict_get(ctx, object, PDF_NAME(Resources)))
                     + pdf_is_dict(ctx, pdf_dict_get(ctx, object, PDF_NAME(Parent)));
    return keys >= 2;
}

// Every object of the file that is a page, as indirect references (owned), in object order: the
// ones typed /Page, and the untyped ones that carry the page keys or that a page-tree node lists
// among its kids.
std::vector<pdf_obj*> scanForPages(fz_context* ctx, pdf_document* doc)
{
    std::set<int> pages;
    std::set<int> untyped; // dictionaries without a /Type and without kids
    std::set<int> kids;    // what page-tree nodes list
    int length = 0;
    fzRun(ctx, [&] { length = pdf_xref_len(ctx, doc); });
    for (int num = 1; num < length; ++num) {
        pdf_obj* object = nullptr;
        fzRun(ctx, [&] {
            // Free and unset entries are skipped without a parse: a file may claim millions.
            pdf_xref_entry* entry = pdf_get_xref_entry(ctx, doc, num);
            if (!entry || (entry->type != 'n' && entry->type != 'o'))
                return;
            object = pdf_load_object(ctx, doc, num);
            if (!pdf_is_dict(ctx, object) || pdf_obj_num_is_stream(ctx, doc, num))
                return;
            pdf_obj* type = pdf_dict_get(ctx, object, PDF_NAME(Type));
            pdf_obj* nodeKids = pdf_dict_get(ctx, object, PDF_NAME(Kids));
            if (pdf_name_eq(ctx, type, PDF_NAME(Page)) || (!type && carriesPageKeys(ctx, object)))
                pages.insert(num);
            else if (!type && !nodeKids)
                untyped.insert(num);
            if (pdf_is_array(ctx, nodeKids) && (!type || pdf_name_eq(ctx, type, PDF_NAME(Pages)))) {
                for (int i = 0, n = pdf_array_len(ctx, nodeKids); i < n; ++i) {
                    pdf_obj* kid = pdf_array_get(ctx, nodeKids, i);
                    if (pdf_is_indirect(ctx, kid))
                        kids.insert(pdf_to_num(ctx, kid));
                }
            }
        });
        pdf_drop_obj(ctx, object);
    }
    for (int num : kids) {
        if (untyped.count(num))
            pages.insert(num);
    }
    std::vector<pdf_obj*> references;
    references.reserve(pages.size());
    for (int num : pages) {
        pdf_obj* reference = nullptr;
        if (fzRun(ctx, [&] { reference = pdf_new_indirect(ctx, doc, num, 0); }))
            references.push_back(reference);
    }
    return references;
}

// Gives a page the attributes it inherited from its old parents, which it is about to lose.
void keepInheritedAttributes(fz_context* ctx, pdf_obj* page)
{
    static pdf_obj* const inheritable[] = {PDF_NAME(MediaBox), PDF_NAME(CropBox), PDF_NAME(Resources), PDF_NAME(Rotate)};
    for (pdf_obj* key : inheritable) {
        fzRun(ctx, [&] {
            if (!pdf_dict_get(ctx, page, key)) {
                pdf_obj* value = pdf_dict_get_inheritable(ctx, page, key);
                if (value)
                    pdf_dict_put(ctx, page, key, value);
            }
        });
    }
    fzRun(ctx, [&] {
        if (!pdf_is_array(ctx, pdf_dict_get(ctx, page, PDF_NAME(MediaBox))))
            pdf_dict_put_rect(ctx, page, PDF_NAME(MediaBox), letterPaper);
        pdf_dict_put(ctx, page, PDF_NAME(Type), PDF_NAME(Page));
    });
}

// Replaces the page tree by one node holding the given pages (indirect references, borrowed).
// A page that is no dictionary any more is left out: loading a later object during the scan may
// have made MuPDF repair the file and drop it.
int installFlatTree(fz_context* ctx, pdf_document* doc, const std::vector<pdf_obj*>& pages)
{
    for (pdf_obj* page : pages)
        keepInheritedAttributes(ctx, page);
    int installed = 0;
    pdf_obj* node = nullptr;
    pdf_obj* kids = nullptr;
    const bool ok = fzRun(ctx, [&] {
        node = pdf_add_new_dict(ctx, doc, 3);
        kids = pdf_new_array(ctx, doc, int(pages.size()));
        for (pdf_obj* page : pages) {
            if (!pdf_is_dict(ctx, page))
                continue;
            pdf_obj* reference = page;
            if (!pdf_is_indirect(ctx, page))
                reference = pdf_add_object(ctx, doc, page);
            else
                pdf_keep_obj(ctx, reference);
            // The kids own the reference before anything else can fail.
            pdf_array_push_drop(ctx, kids, reference);
            pdf_dict_put(ctx, reference, PDF_NAME(Parent), node);
        }
        pdf_dict_put(ctx, node, PDF_NAME(Type), PDF_NAME(Pages));
        pdf_dict_put(ctx, node, PDF_NAME(Kids), kids);
        pdf_dict_put_int(ctx, node, PDF_NAME(Count), pdf_array_len(ctx, kids));

        // Fetched after the first added object: an edit gives the document a new trailer.
        pdf_obj* root = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root));
        if (!pdf_is_dict(ctx, root)) {
            pdf_obj* catalog = pdf_add_new_dict(ctx, doc, 2);
            pdf_dict_put(ctx, catalog, PDF_NAME(Type), PDF_NAME(Catalog));
            pdf_dict_put_drop(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root), catalog);
            root = catalog;
        }
        pdf_dict_put(ctx, root, PDF_NAME(Pages), node);
        installed = pdf_array_len(ctx, kids);
    });
    pdf_drop_obj(ctx, kids);
    pdf_drop_obj(ctx, node);
    return ok ? installed : 0;
}

} // namespace

int repairPageTree(fz_context* ctx, pdf_document* doc)
{
    TreeWalk walk = walkPageTree(ctx, doc);
    if (walk.structureSound && !walk.leaves.empty()) {
        if (walk.countsAgree)
            return int(walk.leaves.size());
        return installFlatTree(ctx, doc, walk.leaves);
    }
    std::vector<pdf_obj*> found = scanForPages(ctx, doc);
    const int installed = found.empty() ? 0 : installFlatTree(ctx, doc, found);
    for (pdf_obj* page : found)
        pdf_drop_obj(ctx, page);
    return installed;
}

} // namespace qpmupdf
