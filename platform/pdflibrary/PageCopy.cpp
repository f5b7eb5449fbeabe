#include "platform/pdflibrary/PageCopy.h"

#include "platform/pdflibrary/ErrorCodes.h"

#include <cctype>
#include <climits>

namespace dpl {

namespace {

void skipSpaces(const std::string& text, size_t& at)
{
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
}

bool readNumber(const std::string& text, size_t& at, int* number)
{
    skipSpaces(text, at);
    const size_t start = at;
    long long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at] - '0');
        if (value > INT_MAX)
            return false;
        ++at;
    }
    skipSpaces(text, at);
    *number = int(value);
    return at > start;
}

} // namespace

bool parseRangeList(const std::string& text, int pageCount, std::vector<int>* pages)
{
    pages->clear();
    size_t at = 0;
    for (;;) {
        int first = 0;
        if (!readNumber(text, at, &first))
            return false;
        int last = first;
        if (at < text.size() && text[at] == '-') {
            ++at;
            if (!readNumber(text, at, &last))
                return false;
        }
        if (first < 1 || last < first || last > pageCount)
            return false;
        for (int page = first; page <= last; ++page)
            pages->push_back(page);
        if (at == text.size())
            return true;
        if (text[at] != ',')
            return false;
        ++at;
    }
}

int copyPages(fz_context* ctx, pdf_document* target, pdf_document* source, const std::vector<int>& pages)
{
    if (target == source)
        return InvalidArgument;
    pdf_graft_map* map = nullptr;
    const bool ok = fzRun(ctx, [&] {
        map = pdf_new_graft_map(ctx, target);
        for (int page : pages)
            pdf_graft_mapped_page(ctx, map, -1, source, page - 1);
    });
    pdf_drop_graft_map(ctx, map);
    return ok ? NoError : InternalError;
}

int documentFromPages(fz_context* ctx, pdf_document* source, const std::vector<int>& pages, pdf_document** out)
{
    *out = nullptr;
    pdf_document* target = nullptr;
    if (!fzRun(ctx, [&] { target = pdf_create_document(ctx); }))
        return InternalError;
    if (int error = copyPages(ctx, target, source, pages)) {
        pdf_drop_document(ctx, target);
        return error;
    }
    fzRun(ctx, [&] {
        pdf_obj* info = pdf_dict_get(ctx, pdf_trailer(ctx, source), PDF_NAME(Info));
        if (!pdf_is_dict(ctx, info))
            return;
        pdf_obj* copy = pdf_graft_object(ctx, target, info);
        if (!pdf_is_indirect(ctx, copy)) {
            pdf_obj* direct = copy;
            copy = pdf_add_object(ctx, target, direct);
            pdf_drop_obj(ctx, direct);
        }
        pdf_dict_put_drop(ctx, pdf_trailer(ctx, target), PDF_NAME(Info), copy);
    });
    *out = target;
    return NoError;
}

} // namespace dpl
