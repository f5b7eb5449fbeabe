#pragma once

// Puts the words OCR read from pictures of unmapped glyphs where those glyphs stand: each word
// takes the glyphs whose middles it covers, each run of a line the words over its glyphs, in their
// order along the line. So lines read in order, and columns and tables are found from the words'
// places as from any other text.

#include "platform/pdf2word/engine/read/GlyphPictures.h"
#include "platform/pdf2word/engine/read/UnmappedRuns.h"

#include <QMap>

namespace p2w {

// For each glyph of a read picture, given by its middle on the page (that of the glyph's place in
// its line: the ink's box may reach far beyond it), the word over it (an index into
// picture.picture.words), or -1.
QVector<int> wordsOverGlyphs(const GlyphPicture& picture, const QVector<fz_point>& middles);

// Replaces each run's glyphs by the words read over them. Letters of another script than the
// run's are left out, and a space parts a word from letters of another script beside it. Glyphs
// no word took are left out and counted in leftOut by the reason (a run's own, or its picture's
// error; one with neither was not read by OCR).
void placeRecognisedWords(const QVector<GlyphPicture>& pictures, const QVector<UnmappedRun>& runs, QVector<TextLine>* lines,
                          QMap<QString, int>* leftOut);

} // namespace p2w
