#pragma once

// A picture that cannot be read (a width of zero, say) stops MuPDF from running the whole page.
// Taken out of the page's resources, it is skipped and the rest of the page runs.

#include "platform/pdf2word/engine/model/Fitz.h"

#include <QStringList>

namespace p2w {

// Takes the pictures of the page (and of the forms it draws) that do not load out of their
// resources; what was taken out, and why, goes to notes. False when there was none.
bool dropUnreadablePictures(fz_context* ctx, pdf_document* document, int pageIndex, QStringList* notes);

} // namespace p2w
