#include "DocumentIO.h"

#include "AtomicFile.h"
#include "Document.h"
#include "ErrorCodes.h"
#include "PageTreeRepair.h"

#include <cstring>

namespace dpl {

int openPdfFile(fz_context* ctx, const std::string& path, const std::string& password, pdf_document** out)
{
    *out = nullptr;
    int error = NoError;
    if (!isReadableFile(path, error))
        return error;

    fz_buffer* contents = nullptr;
    if (!fzRun(ctx, [&] { contents = fz_read_file(ctx, path.c_str()); }))
        return CannotOpenInput;
    if (fz_buffer_storage(ctx, contents, nullptr) == 0) {
        fz_drop_buffer(ctx, contents);
        return DamagedFile;
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
        return DamagedFile;
    }

    int needsPassword = 0;
    int authenticated = 1;
    fzRun(ctx, [&] {
        needsPassword = pdf_needs_password(ctx, doc);
        if (needsPassword)
            authenticated = pdf_authenticate_password(ctx, doc, password.c_str());
    });
    if (needsPassword && !authenticated) {
        pdf_drop_document(ctx, doc);
        return InvalidPassword;
    }

    if (repairPageTree(ctx, doc) < 1) {
        pdf_drop_document(ctx, doc);
        return DamagedFile;
    }
    *out = doc;
    return NoError;
}

namespace {

// The engine takes UTF-8 and converts it to what each security handler expects (PDFDocEncoding for
// RC4 and AES-128); a longer password is cut to the 127 bytes it has room for.
void copyPassword(char (&target)[128], const std::string& password)
{
    const size_t length = std::min(password.size(), sizeof target - 1);
    std::memcpy(target, password.data(), length);
    target[length] = '\0';
}

} // namespace

int writeDocument(fz_context* ctx, Document& document, const std::string& path, Encryption encryption)
{
    document.dropUndrawnImages();

    pdf_write_options options;
    std::memset(&options, 0, sizeof options);
    options.do_compress = 1;
    options.do_compress_images = 1;
    options.do_compress_fonts = 1;
    options.do_encrypt = PDF_ENCRYPT_KEEP;
    if (encryption == Encryption::Remove) {
        options.do_encrypt = PDF_ENCRYPT_NONE;
    } else if (document.encryption.requested) {
        options.do_encrypt = document.encryption.method;
        options.permissions = document.encryption.permissions;
        copyPassword(options.opwd_utf8, document.encryption.owner);
        copyPassword(options.upwd_utf8, document.encryption.user);
    }

    AtomicFile file(path);
    if (int error = file.create())
        return error;
    fz_output* output = nullptr;
    const bool written = fzRun(ctx, [&] {
        output = fz_new_output_with_path(ctx, file.temporaryPath().c_str(), 1);
        pdf_write_document(ctx, document.pdf(), output, &options);
        fz_close_output(ctx, output);
    });
    fz_drop_output(ctx, output);
    if (!written)
        return CannotOpenOutput;
    return file.commit();
}

} // namespace dpl
