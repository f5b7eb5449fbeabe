#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// PDFs written by Qt for the from-PDF tests. Each page text may hold several lines ("\n").
namespace TestPdfs {

// A4 pages with real text (embedded fonts).
bool writeTextPdf(const QString& path, const QStringList& pageTexts);

// A4 pages that hold only a grey picture of their text, painted at dpi: no fonts, no text.
bool writeScannedPdf(const QString& path, const QStringList& pageTexts, int dpi = 300);

// A page as an office scanner stores it: the lines of text in 8-point type on A4 at 300 dpi in
// black and white, with 2 x 2-pixel specks on 0.3 % of the pixels.
QImage noisyScan(const QString& text);
// That page compressed as G4 by tiffcp and made into a PDF by tiff2pdf (which keeps the G4 data).
bool writeNoisyScanPdf(const QString& path, const QString& text);

// A copy of input encrypted with qpdf (AES-256); an empty user password opens without asking.
bool encryptPdf(const QString& input, const QString& output, const QString& userPassword,
                const QString& ownerPassword);

// Pages of lines of seven words drawn from a list, the same every time.
QStringList sentencePages(int pages, int linesPerPage);

// The words of a text, lower-cased, without punctuation.
QStringList wordsOf(const QString& text);

// The share of the true words (counted with repetition) that the recognised words hold.
double wordsFound(const QStringList& truth, const QStringList& recognised);

// "Page N" texts for count pages, each with a second line of words.
QStringList numberedPages(int count);

// The text of a PDF as pdftotext reads it.
QString pdfText(const QString& path);

} // namespace TestPdfs
