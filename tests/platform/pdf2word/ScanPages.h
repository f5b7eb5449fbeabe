#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

// Scanned pages with a text layer, for the PDF-to-Word tests and benchmark: pages drawn at 300 dpi
// (by Qt, or by pdftoppm from a LibreOffice PDF), speckled like a scan, and read into a PDF by the
// tesseract command line, which lays its invisible text over the page's picture:
// - Chinese text (Tesseract's chi_sim model; WenQuanYi Zen Hei draws it);
// - English text with figures: a labelled diagram, a photo, a signature.
// Also the same layer drawn visibly in a font whose glyphs are empty (Tesseract's own layer font
// draws a box for every glyph and relies on invisible text).
namespace ScanPages {

// Paragraphs of a Chinese report, the same for the same seed.
QStringList chineseParagraphs(int seed, int count);
// An A4 page at 300 dpi: the paragraphs in WenQuanYi Zen Hei, 12 points, justified.
QImage chinesePage(const QStringList& paragraphs);
// An A4 page at 300 dpi: English paragraphs with a diagram of labelled boxes, a photo and a
// signature between them; *figures gets where those three stand (points).
QImage figuresPage(QVector<QRectF>* figures);

// Grey noise of the amplitude (brightness steps) over the page, the same for the same seed.
void addNoise(QImage& page, int amplitude, int seed);
// The page saved as format ("png" or "jpg") and read by the tesseract command line in languages
// ("eng", "chi_sim") into a PDF at path.
bool writeTesseractPdf(const QImage& page, const QString& path, const QString& languages, const char* format);
// Page 1 of a PDF drawn by pdftoppm at dpi, in grey.
QImage drawnPage(const QString& pdf, int dpi);
// A tesseract PDF with its text layer drawn visibly (render mode 0) in its font with every glyph
// emptied: the layer drawn in a glyph-less font.
bool writeGlyphlessFontLayerPdf(const QString& tesseractPdf, const QString& path);

// LibreOffice documents printed to PDF: a Chinese report (a heading spaced out letter by letter,
// the paragraphs justified), and an English report with a drawn diagram of labelled boxes and
// lines and a signature.
bool writeOfficeChinesePdf(const QString& path, const QString& heading, const QStringList& paragraphs);
// *figures gets where the diagram and the signature stand (points).
bool writeOfficeDiagramPdf(const QString& path, QVector<QRectF>* figures);

// Neighbouring Chinese or Japanese characters in text (spaces between them skipped), and those of
// them that spaces part.
struct CjkPairs
{
    int neighbours = 0;
    int parted = 0;
};
CjkPairs cjkPairs(const QString& text);
// The share of source's neighbouring character pairs (each paragraph a line) that text holds,
// spaces left out of both.
double characterPairsKept(const QString& source, const QString& text);

// The sizes of the pictures a DOCX shows (points), in the order of the document.
QList<QSizeF> pictureSizes(const QString& docx);

} // namespace ScanPages
