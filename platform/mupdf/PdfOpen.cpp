#include "platform/mupdf/PdfOpen.h"

#include "platform/mupdf/AtomicFile.h"
#include "platform/mupdf/FitzContext.h"
#include "platform/mupdf/PageTreeRepair.h"

#include <cstring>

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

// Opens the document in the bytes; false when MuPDF cannot, even with its repair.
bool openBytes(fz_context* ctx, fz_buffer* contents, pdf_document** doc)
{
    fz_stream* stream = nullptr;
    const bool opened = fzRun(ctx, [&] {
        stream = fz_open_buffer(ctx, contents);
        *doc = pdf_open_document_with_stream(ctx, stream);
    });
    fz_drop_stream(ctx, stream);
    if (!opened) {
        pdf_drop_document(ctx, *doc);
        *doc = nullptr;
    }
    return opened;
}

// Cuts the bytes after the last complete object: MuPDF's repair gives up on a file that ends in
// the middle of an object, as a file cut short does. False when there is nothing to cut.
bool cutAfterLastObject(fz_context* ctx, fz_buffer* contents)
{
    unsigned char* data = nullptr;
    const size_t size = fz_buffer_storage(ctx, contents, &data);
    static const char endobj[] = "endobj";
    const size_t length = sizeof endobj - 1;
    for (size_t end = size; end >= length; --end) {
        if (std::memcmp(data + end - length, endobj, length) == 0) {
            if (end == size)
                return false;
            return fzRun(ctx, [&] { fz_resize_buffer(ctx, contents, end); });
        }
    }
    return false;
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

    pdf_document* doc = nullptr;
    bool opened = openBytes(ctx, contents, &doc);
    if (!opened && cutAfterLastObject(ctx, contents))
        opened = openBytes(ctx, contents, &doc);
    fz_drop_buffer(ctx, contents);
    if (!opened)
        return OpenResult::Damaged;

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

    // MuPDF's own page count must agree: a tree the repair accepts can still count no page.
    int pages = 0;
    if (repairPageTree(ctx, doc) < 1 || !fzRun(ctx, [&] { pages = pdf_count_pages(ctx, doc); }) || pages < 1) {
        pdf_drop_document(ctx, doc);
        return OpenResult::Damaged;
    }
    *out = doc;
    return OpenResult::Opened;
}

} // namespace qpmupdf
