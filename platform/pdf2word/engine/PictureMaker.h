#pragma once

// Turns a figure region of a page into a picture for the document. A lone picture that the page
// shows as it is stored (a JPEG, upright, without transparency) is taken as it is; everything
// else is drawn: soft masks, blends and transparency composited onto white, vector drawing and
// its labels at print resolution.

#include "Fitz.h"
#include "FlowDocument.h"
#include "PageLayout.h"

namespace p2w {

class PictureMaker
{
public:
    explicit PictureMaker(fz_context* ctx);

    // False when MuPDF failed (the reason is its caught message).
    bool make(fz_display_list* list, const PageGraphics& graphics, const FoundFigure& figure, fz_cookie* cookie,
              FlowImage* picture);

private:
    bool takeStored(const Shape& shape, FlowImage* picture);
    bool draw(fz_display_list* list, const FoundFigure& figure, float dpi, fz_cookie* cookie, FlowImage* picture);

    fz_context* m_ctx;
};

} // namespace p2w
