#pragma once

// The gutters of a table's text: the stretches between its columns that the text of its rows
// keeps out of, for the finders that take a table's columns from the text inside its grid.

#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/model/PageModel.h"

#include <QVector>

#include <utility>

namespace p2w {

// Whether an edge stands strictly between from and to.
bool hasEdgeIn(const QVector<float>& edges, float from, float to);

// Where the line's words stand, left to right (from x0 to x1 each).
QVector<std::pair<float, float>> wordSpans(const TextLine& line);

// The cell edges that the gutters of the rows' text within region show (rows index lines): a
// gutter at least 0.6 ems wide that the text of at most one row in ten reaches into, holding none
// of the edges already known, with text on both sides of it (within the known edges around it)
// in two rows or more. Each edge stands just before the text of a column set flush left, just
// after that of a column set flush right, else in the gutter's middle.
QVector<float> gutterEdges(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const fz_rect& region,
                           const QVector<float>& edges);

} // namespace p2w
