#pragma once

// Page models built by hand for the engine's stage tests: lines of text set in a made-up font
// whose glyphs are half an em wide, rulings and shapes, and one-page PDFs from a content stream.

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/PageModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace PageModels {

// A line of text whose left edge is at x and whose baseline is at baseline; look -1 for none.
p2w::TextLine line(const QString& text, float x, float baseline, float size = 10, int look = -1);
// Lines of prose down a column from top, pitch 12, each a little shorter than width characters.
QVector<p2w::TextLine> column(float x, float top, int count, int width = 40, const QString& word = QStringLiteral("text"));
p2w::Shape shape(float x0, float y0, float x1, float y1, p2w::Shape::Kind kind = p2w::Shape::Path, bool thin = false);
p2w::Rule rule(float x0, float y0, float x1, float y1);
// The lines' texts, in order.
QStringList texts(const QVector<p2w::TextLine>& lines);
// An A4 page in points.
fz_rect a4();

// A one-page PDF (A4) drawing content; fonts /F1 (Helvetica) and /F2 (Helvetica-Bold) are there,
// /F3 a Type 3 font whose letters draw nothing, /F4 Arial Narrow Bold named but not embedded, /F5
// a Type 3 font whose letters a, b, c draw boxes under a bounding box ten ems high.
QByteArray onePagePdf(const QByteArray& content);

} // namespace PageModels
