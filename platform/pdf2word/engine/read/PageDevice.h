#pragma once

// A MuPDF device that sits in front of another one. It serves two jobs:
// - reading a page: text goes on to a structured-text device, the text that the page shows apart
//   from the text it hides (a scan's recognised text: drawn invisibly, in a font without glyphs,
//   or covered by a picture drawn after it), while paths, shadings and pictures are collected as
//   rules and shapes, and glyphs without a Unicode map for recognition (PageGraphics);
// - drawing a region: everything goes on to the draw device, text only when asked (a picture
//   whose text stays in the document's text is drawn without it).

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"
#include "platform/pdf2word/engine/read/CjkText.h"

#include <QSet>
#include <QString>
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
    // Reading: the names of the fonts whose glyphs are all read by OCR, since a third or more of
    // them have no Unicode map and the codes of the rest are guesses (a standard encoding's). The
    // fonts found so on earlier pages stay so; those found on this page are added.
    QSet<QString>* unmappedFonts = nullptr;
    // When not empty, only glyphs whose middle lies in one of these boxes go on (a figure's
    // labels, and not the caption whose tops reach into the figure's region).
    QVector<fz_rect> textOnlyIn;
    // Drawing a figure: only drawings that lie within this box (as far as the page and its clip
    // show them) go on, and pictures as far as it shows them; a drawn backdrop reaching beyond it
    // (a poster's gradients, blobs over its charts) does not.
    fz_rect drawnWithin = fz_infinite_rect;
    fz_rect page = fz_infinite_rect;
    bool onlyPictures = false; // and of that only pictures (a picture drawn alone)
    // Drawing a figure: the least width of a stroke, in points (0: as the page has it).
    float leastStrokeWidth = 0;
};

// The device is owned by the caller (fz_drop_device); target must outlive it.
fz_device* newPageDevice(fz_context* ctx, fz_device* target, const PageDeviceOptions& options);

} // namespace p2w
