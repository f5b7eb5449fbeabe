#pragma once

// Running text as the table finders see it: lines of paragraphs that wrap into one another are
// never a table's cells, and a justified line that the reader split at its wide word gaps is one
// line again.

#include "platform/pdf2word/engine/model/PageModel.h"

#include <QVector>

#include <functional>

namespace p2w {

// Joins the pieces of a justified line split at wide word gaps (a narrow column's line of few
// words): pieces on one baseline that together reach from the left edge of the line above or
// below (or its first line's indent) to its right edge, apart by word gaps.
void joinSplitLines(QVector<TextLine>& lines);

// Marks the lines of running text: paragraphs of three or more lines down one column, set in one
// size at a line's pitch, their usual line of five words or more, whose lines mostly end where the
// next line's first word would not have fitted (a line breaker set them, not a hand).
QVector<bool> runningTextLines(const QVector<TextLine>& lines);

// One line of the pieces, left to right, a space between each.
TextLine joinedPieces(const QVector<TextLine>& pieces);

// Pieces of one line parted where something stood between them (a check box, a picture): pieces
// on one baseline, neither turned, apart by less than joinGap of their size, that across accepts
// (the left piece, the right one) are one line again, a space between them where neither has one.
// The lines come back sorted by baseline, then from the left.
void joinPiecesAcross(QVector<TextLine>& lines, float joinGap, const std::function<bool(const TextLine&, const TextLine&)>& across);

// Pieces of text on one baseline (within a third of their size), as the table finders see a
// page's rows.
struct TextRow
{
    QVector<int> lines; // indexes into the page's lines, left to right
    float baseline = 0;
    float top = 0;
    float bottom = 0;
    float size = 0; // the largest of its pieces'
};
// The rows of the lines given (indexes into lines), top to bottom.
QVector<TextRow> textRows(const QVector<TextLine>& lines, const QVector<int>& which);

} // namespace p2w
