#include "platform/pdflibrary/DocumentIO.h"

#include "platform/mupdf/PdfOpen.h"
#include "platform/pdflibrary/BaseCodes.h"
#include "platform/pdflibrary/ErrorCodes.h"
#include "platform/pdflibrary/LibraryDocument.h"

#include <cstring>

namespace dpl {

int openPdfFile(fz_context* ctx, const std::string& path, const std::string& password, pdf_document** out)
{
    switch (qpmupdf::openPdf(ctx, path, password, out)) {
    case qpmupdf::OpenResult::Opened: return NoError;
    case qpmupdf::OpenResult::Missing: return FileNotFound;
    case qpmupdf::OpenResult::Unreadable: return CannotOpenInput;
    case qpmupdf::OpenResult::PasswordNeeded: return InvalidPassword;
    case qpmupdf::OpenResult::Damaged: break;
    }
    return DamagedFile;
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
    if (int error = outputError(file.create()))
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
    return outputError(file.commit());
}

} // namespace dpl
