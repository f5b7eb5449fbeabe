#pragma once

// Text a page hides is a scan's recognised text (drawn invisibly, in a font without glyphs, or
// under the scan's picture). It is the page's text where the page shows none of its own; the scan
// it lies on would only repeat it as a picture, and only the scan's parts without text stay
// (ScanFigures).

#include "platform/pdf2word/engine/model/PageModel.h"
#include "platform/pdf2word/engine/read/TextRecognizer.h"

#include <QVector>

namespace p2w {

// Pieces of a text layer's line that the text extraction split (an OCR engine stretches each
// word's glyphs over the word's box, and in CJK layers these overlap the next word): consecutive
// pieces on one baseline, each starting right of the start of the one before and near its end,
// are joined in the order the layer draws them, which is the order they are read.
void joinLayerPieces(QVector<TextLine>& lines);

// The hidden lines that do not lie over shown text.
QVector<TextLine> hiddenLinesToKeep(const QVector<TextLine>& shown, const QVector<TextLine>& hidden);

// Which pictures of graphics are the scan of the kept hidden lines: a picture of most of the page
// they lie on, or a smaller one they cover a good part of.
QVector<bool> scannedPictures(const QVector<TextLine>& keptHidden, fz_rect mediabox, const PageGraphics& graphics);

// A scan's text layer that does not read its picture (most of its words are no words of the
// languages that read its script, or most of them stand where the picture has no ink: a layer
// garbled, or of another page), and the layer of a picture on a page that prints a paragraph of
// its own (a picture of text in a document, its words recognised for search), are not the page's
// text: the picture stays whole, its layer's words its description, and the layer's lines on it
// leave hidden. Clears the scans so kept in scans.
void keepLayersUnread(fz_context* ctx, const QVector<TextLine>& shown, QVector<TextLine>* hidden, QVector<bool>* scans,
                      PageGraphics* graphics, TextRecognizer* recognizer, const fz_cookie* cookie);

} // namespace p2w
