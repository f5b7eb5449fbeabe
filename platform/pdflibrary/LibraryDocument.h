#pragma once

#include "platform/pdflibrary/LibraryFitz.h"

#include <map>
#include <string>

namespace dpl {

// An image added to a document: read as far as its header when it is added, decoded into an
// XObject of the document when it is first drawn; one that was never drawn is dropped before the
// document is written.
struct DocumentImage
{
    fz_image* source = nullptr; // the file's picture until it is stored, owned
    pdf_obj* xobject = nullptr; // indirect reference, owned
    int width = 0;
    int height = 0;
    int xResolution = 0; // dots per inch as the file gives them, 96 when it gives none
    int yResolution = 0;
    bool drawn = false;
};

// Encryption that Encrypt asked for; it is applied whenever the document is written.
struct EncryptionRequest
{
    bool requested = false;
    int method = PDF_ENCRYPT_NONE;
    int permissions = 0;
    std::string owner;
    std::string user;
};

// One document held in memory by a library instance, with the selections the library keeps for
// it. Owns the engine document.
class Document
{
public:
    Document(fz_context* ctx, pdf_document* pdf);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    pdf_document* pdf() const { return m_pdf; }

    // The number of pages; 0 when the page tree cannot be read.
    int pageCount() const;
    bool hasPage(int page) const { return page >= 1 && page <= pageCount(); }

    int selectedPage = 1;
    int selectedImage = 0;
    std::map<int, DocumentImage> images;
    int nextImageId = 1;
    EncryptionRequest encryption;

    // Forgets the images that were added but never drawn and removes their XObjects, so that a
    // written file carries no image nobody sees.
    void dropUndrawnImages();

private:
    fz_context* m_ctx;
    pdf_document* m_pdf;
};

} // namespace dpl
