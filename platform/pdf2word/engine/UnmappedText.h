#pragma once

// Text in fonts without a usable Unicode map reaches the lines as U+FFFD or private-use codes.
// The page's unmapped glyphs are drawn alone, black on white at 300 dpi, and read with OCR; each
// run of such characters in a line takes the words read over it. What cannot be read is left
// out: no replacement character reaches the document.

#include "platform/pdf2word/engine/Fitz.h"
#include "platform/pdf2word/engine/PageModel.h"

#include <QStringList>
#include <QVector>

namespace p2w {

class TextRecognizer;

// Whether a character code says nothing of the character it stands for.
bool isUnmappedCharacter(char32_t c);

// Replaces the runs of unmapped characters in lines by the words recognizer reads from glyphs
// (null: they are left out). Stops early when the cookie is aborted. What could not be read is
// added to notes.
void readUnmappedText(fz_context* ctx, const QVector<UnmappedGlyph>& glyphs, TextRecognizer* recognizer,
                      fz_cookie* cookie, QVector<TextLine>* lines, QStringList* notes);

} // namespace p2w
