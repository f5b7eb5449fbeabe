#include "PdfOpen.h"

#include "AtomicFile.h"
#include "FitzContext.h"
#include "PageTreeRepair.h"

namespace qpmupdf {

namespace {

// Whether a crypt filter name (of /StmF or /StrF) leaves the data as it is: absent or /Identity,
// or a filter of /CF whose method is /None.
bool isIdentityFilter(fz_context* ctx, pdf_obj* encrypt, pdf_obj* name)
{
    if (!name || pdf_name_eq(ctx, name, PDF_NAME(Identity)))
        return true;
    pdf_obj* filter = pdf_dict_get(ctx, pdf_dict_get(ctx, encrypt, PDF_NAME(CF)), name);
    return pdf_name_eq(ctx, pdf_dict_get(ctx, filter, PDF_NAME(CFM)), PDF_NAME(None));
}

// Encryption of version 4 or 5 whose stream and string filters both leave the data alone: only
// embedded files (through /EFF) are encrypted, and the document reads without a key.
bool onlyEmbeddedFilesEncrypted(fz_context* ctx, pdf_document* doc)
{
    bool only = false;
    fzRun(ctx, [&] {
        pdf_obj* encrypt = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Encrypt));
        const int version = pdf_dict_get_int(ctx, encrypt, PDF_NAME(V));
        only = (version == 4 || version == 5) && isIdentityFilter(ctx, encrypt, pdf_dict_get(ctx, encrypt, PDF_NAME(StmF)))
               && isIdentityFilter(ctx, encrypt, pdf_dict_get(ctx, encrypt, PDF_NAME(StrF)));
    });
    return only;
}

} // namespace

OpenResult openPdf(fz_context* ctx, const std::string& path, const std::string& password, pdf_document** out)
{
    *out = nullptr;
    switch (checkReadable(path)) {
    case FileCheck::Missing: return OpenResult::Missing;
    case FileCheck::Unreadable: return OpenResult::Unreadable;
    case FileCheck::Readable: break;
    }

    fz_buffer* contents = nullptr;
    {
        UncountedMemory fileBytes(ctx);
        if (!fzRun(ctx, [&] { contents = fz_read_file(ctx, path.c_str()); }))
            return OpenResult::Unreadable;
    }
    if (fz_buffer_storage(ctx, contents, nullptr) == 0) {
        fz_drop_buffer(ctx, contents);
        return OpenResult::Damaged;
    }

    fz_stream* stream = nullptr;
    pdf_document* doc = nullptr;
    const bool opened = fzRun(ctx, [&] {
        stream = fz_open_buffer(ctx, contents);
        doc = pdf_open_document_with_stream(ctx, stream);
    });
    fz_drop_stream(ctx, stream);
    fz_drop_buffer(ctx, contents);
    if (!opened) {
        pdf_drop_document(ctx, doc);
        return OpenResult::Damaged;
    }

    int needsPassword = 0;
    int authenticated = 1;
    fzRun(ctx, [&] {
        needsPassword = pdf_needs_password(ctx, doc);
        if (needsPassword)
            authenticated = pdf_authenticate_password(ctx, doc, password.c_str());
    });
    if (needsPassword && !authenticated && !onlyEmbeddedFilesEncrypted(ctx, doc)) {
        pdf_drop_document(ctx, doc);
        return OpenResult::PasswordNeeded;
    }

    if (repairPageTree(ctx, doc) < 1) {
        pdf_drop_document(ctx, doc);
        return OpenResult::Damaged;
    }
    *out = doc;
    return OpenResult::Opened;
}

} // namespace qpmupdf
