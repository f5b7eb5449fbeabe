#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Pages whose text a converter that reads only what a page shows loses, or that stop it, for the
// PDF-to-Word tests and benchmark, each made by the producer that makes such pages:
// - scans with a text layer: pages drawn to pictures and read into a PDF by the tesseract command
//   line (invisible text over the picture); the same with the text drawn first and covered by
//   the picture, as PDFium-based tools write it (Qt, or the tesseract PDF rewritten with qpdf);
//   the same with the text drawn in a Type 3 font whose glyphs are empty (Ghostscript);
// - text in a Type 3 font whose glyph names say nothing, without a Unicode map (Ghostscript);
// - a heavy page: a LibreOffice poster of gradients and ten charts, 44 x 70 cm;
// - hostile pages written by hand: text drawn thousands of times at one spot, a picture of width
//   zero, forms nested hundreds deep, Type 3 glyphs that draw one another.
// The writers return false when their producer failed.
namespace HardPages {

// A page of the lines printed by Qt, then covered by its own scan (a picture of the same lines).
bool writeCoveredTextPdf(const QString& path, const QStringList& lines);
// The lines in a Type 3 font without a Unicode map, printed by Ghostscript, as many pages as
// they fill.
bool writeUnmappedFontPdf(const QString& path, const QStringList& lines);
// One page drawing the text times times at the same spot (a small file).
QByteArray repeatedTextPdf(const QString& text, int times);
// One page: a line of text, a picture of width zero (Im0), a picture that is fine (Im1), a line.
QByteArray brokenPicturePdf();
// Two pages: the first draws a line and a form that draws "Level 0" and the next form, down to
// "Level <depth - 1>", one line below the other in columns; the second a line of its own.
QByteArray nestedFormsPdf(int depth);
// Two pages: the first draws a line and a glyph of a Type 3 font whose glyph draws a glyph of
// another Type 3 font, whose glyph draws the first one's; throughPage: of a Type 3 font without
// resources of its own whose glyph draws the font the page's resources name, itself. The second
// page a line of its own.
QByteArray type3CyclePdf(bool throughPage = false);

// The pages of sourcePdf drawn at dpi and read by the tesseract command line into a PDF.
bool writeTesseractScanPdf(const QString& sourcePdf, const QString& path, int dpi);
// A tesseract PDF rewritten with its text drawn visibly first and covered by the page picture.
bool writeCoveredLayerPdf(const QString& tesseractPdf, const QString& path);
// A tesseract PDF whose text layer's letters are garbled (each moved 13 places on in its
// alphabet), as a broken recogniser's layer reads: no word of it is a word.
bool writeGarbledLayerPdf(const QString& tesseractPdf, const QString& path);
// The pictures and the words of a tesseract PDF again, the words in a font whose glyphs are empty.
bool writeGlyphlessLayerPdf(const QString& tesseractPdf, const QString& path);
// A poster of gradients and ten charts with a title and paragraphs, printed by LibreOffice.
bool writeInfographicPdf(const QString& path, int seed);
// Runs the tesseract command line with one thread (on a busy machine its threads mostly wait for
// one another); standard output goes to *out. False when it failed.
bool tesseract(const QStringList& arguments, QByteArray* out = nullptr);
// What the tesseract command line reads from the pages of a PDF drawn at 300 dpi.
QString tesseractText(const QString& pdf);

} // namespace HardPages
