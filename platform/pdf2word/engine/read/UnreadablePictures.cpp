#include "platform/pdf2word/engine/read/UnreadablePictures.h"

namespace p2w {

namespace {

// Forms drawn inside forms deeper than this are not looked into.
const int kDeepestForm = 32;

bool loads(fz_context* ctx, pdf_document* document, pdf_obj* picture, QString* reason)
{
    fz_image* image = nullptr;
    const bool ok = fzRun(ctx, [&] { image = pdf_load_image(ctx, document, picture); });
    if (!ok)
        *reason = QString::fromUtf8(fz_caught_message(ctx));
    fz_drop_image(ctx, image);
    return ok;
}

bool dropFrom(fz_context* ctx, pdf_document* document, pdf_obj* resources, int depth, QStringList* notes)
{
    pdf_obj* objects = pdf_dict_get(ctx, resources, PDF_NAME(XObject));
    bool dropped = false;
    for (int i = pdf_dict_len(ctx, objects) - 1; i >= 0; --i) {
        pdf_obj* name = pdf_dict_get_key(ctx, objects, i);
        pdf_obj* object = pdf_dict_get_val(ctx, objects, i);
        pdf_obj* subtype = pdf_dict_get(ctx, object, PDF_NAME(Subtype));
        QString reason;
        if (pdf_name_eq(ctx, subtype, PDF_NAME(Image)) && !loads(ctx, document, object, &reason)) {
            notes->append(QStringLiteral("picture %1 left out: %2").arg(QString::fromUtf8(pdf_to_name(ctx, name)), reason));
            pdf_dict_del(ctx, objects, name);
            dropped = true;
        } else if (pdf_name_eq(ctx, subtype, PDF_NAME(Form)) && depth < kDeepestForm && !pdf_mark_obj(ctx, object)) {
            // Marked while it is looked into: a form that draws itself is looked into once.
            bool inner = false;
            fzRun(ctx, [&] {
                inner = dropFrom(ctx, document, pdf_dict_get(ctx, object, PDF_NAME(Resources)), depth + 1, notes);
            });
            pdf_unmark_obj(ctx, object);
            dropped = dropped || inner;
        }
    }
    return dropped;
}

} // namespace

bool dropUnreadablePictures(fz_context* ctx, pdf_document* document, int pageIndex, QStringList* notes)
{
    bool dropped = false;
    const bool ran = fzRun(ctx, [&] {
        pdf_obj* page = pdf_lookup_page_obj(ctx, document, pageIndex);
        dropped = dropFrom(ctx, document, pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources)), 0, notes);
    });
    return ran && dropped;
}

} // namespace p2w
