#include "platform/pdflibrary/LibraryDocument.h"

namespace dpl {

Document::Document(fz_context* ctx, pdf_document* pdf)
    : m_ctx(ctx)
    , m_pdf(pdf)
{
}

Document::~Document()
{
    for (auto& entry : images) {
        fz_drop_image(m_ctx, entry.second.source);
        pdf_drop_obj(m_ctx, entry.second.xobject);
    }
    pdf_drop_document(m_ctx, m_pdf);
}

int Document::pageCount() const
{
    int count = 0;
    if (!fzRun(m_ctx, [&] { count = pdf_count_pages(m_ctx, m_pdf); }))
        return 0;
    return count;
}

void Document::dropUndrawnImages()
{
    for (auto it = images.begin(); it != images.end();) {
        DocumentImage& image = it->second;
        if (image.drawn) {
            ++it;
            continue;
        }
        fz_drop_image(m_ctx, image.source);
        // An image is stored when it is drawn: one whose drawing failed may have left its XObject.
        if (pdf_obj* xobject = image.xobject) {
            fzRun(m_ctx, [&] {
                pdf_obj* mask = pdf_dict_get(m_ctx, xobject, PDF_NAME(SMask));
                if (pdf_is_indirect(m_ctx, mask))
                    pdf_delete_object(m_ctx, m_pdf, pdf_to_num(m_ctx, mask));
                pdf_delete_object(m_ctx, m_pdf, pdf_to_num(m_ctx, xobject));
            });
            pdf_drop_obj(m_ctx, xobject);
        }
        if (selectedImage == it->first)
            selectedImage = 0;
        it = images.erase(it);
    }
}

} // namespace dpl
