#pragma once

// A MuPDF device that sits in front of another one. It serves two jobs:
// - reading a page: text goes on to a structured-text device, the text that the page shows apart
//   from the text it hides (a scan's recognised text: drawn invisibly, in a font without glyphs,
//   or covered by a picture drawn after it), while paths, shadings and pictures are collected as
//   rules and shapes, and glyphs without a Unicode map for recognition (PageGraphics);
// - drawing a region: everything goes on to the draw device, text only when asked (a picture
//   whose text stays in the document's text is drawn without it).

#include "platform/pdf2word/engine/CjkText.h"
#include "platform/pdf2word/engine/Fitz.h"
#include "platform/pdf2word/engine/PageModel.h"

#include <QVector>

namespace p2w {

struct PageDeviceOptions
{
    bool forwardText = true;
    // Reading: where the text the page hides goes (target gets the text it shows). The text is
    // then held until the device closes, when the pictures drawn over it are known.
    fz_device* hiddenTarget = nullptr;
    fz_cookie* cookie = nullptr;        // reading: the held text stops when it is aborted
    DrawnSpaces* drawnSpaces = nullptr; // reading: where the space glyphs the page shows go
    bool forwardGraphics = false;
    PageGraphics* collect = nullptr; // where paths, shadings and pictures go; may be null
    // When not empty, only glyphs whose middle lies in one of these boxes go on (a figure's
    // labels, and not the caption whose tops reach into the figure's region).
    QVector<fz_rect> textOnlyIn;
};

// The device is owned by the caller (fz_drop_device); target must outlive it.
fz_device* newPageDevice(fz_context* ctx, fz_device* target, const PageDeviceOptions& options);

} // namespace p2w
