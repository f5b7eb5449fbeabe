#pragma once

// A scan with a text layer holds more than its text: the figures, photos, signatures and stamps
// of the scanned page. Its text areas leave the page (the layer gives their text), the rest stays:
// the scan's ink outside the boxes of the page's lines, grouped into regions, each region that is
// more than rules and frames a picture at its place (a crop of the scan).

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"

#include <QVector>

namespace p2w {

// What a scan holds besides its text, in page space: the regions of its ink outside the lines'
// boxes that are no rule or frame; and the lines (indexes) that are OCR's reading of a drawing
// on one of them (a signature read as a word: too little ink for printed text). Nothing when the
// scan cannot be decoded; stops early, with what was found, when the cookie is aborted.
struct ScanParts
{
    QVector<fz_rect> figures;
    QVector<int> drawnLines;
};
ScanParts scanParts(fz_context* ctx, const Shape& scan, const QVector<TextLine>& lines, const fz_cookie* cookie);

// The share of the words of lines that stand where the scan has ink (their line's box inked as
// printed text inks it); -1 when the scan cannot be decoded or the lines hold no word.
float wordsOnInk(fz_context* ctx, const Shape& scan, const QVector<TextLine>& lines, const fz_cookie* cookie);

// Where the scan has ink (its specks aside), with a margin of paper: the scan without the blank
// paper around what it shows; the scan's box when it cannot be decoded or shows nothing.
fz_rect inkedPart(fz_context* ctx, const Shape& scan, const fz_cookie* cookie);

// Replaces each scan (scans[i] for shape i) by pictures of its figures, and takes the lines that
// read a figure's drawing out of lines; a scan that cannot be decoded leaves the page whole.
void keepScanFigures(fz_context* ctx, QVector<TextLine>* lines, const QVector<bool>& scans, PageGraphics* graphics,
                     const fz_cookie* cookie);

} // namespace p2w
