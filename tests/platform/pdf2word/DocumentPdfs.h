#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Documents for the PDF-to-Word tests, beside TestPdfs' text and scanned pages: PDFs written by
// Qt from HTML, a PDF whose only text is invisible (a scan's recognised-text layer), and
// LibreOffice and unzip as independent readers of what the converters wrote.
namespace DocumentPdfs {

// A PDF of the HTML, A4. Images named in the HTML as <img src="name"> come from images (names
// "image0", "image1", ...). Page breaks: style="page-break-before:always".
bool writeHtmlPdf(const QString& path, const QString& html, const QList<QImage>& images = {});

// A heading, two paragraphs and a picture on page 1, a paragraph on page 2.
bool writeReportPdf(const QString& path);
// The words of writeReportPdf's pages, in reading order (Qt prints a page number below each page).
QStringList reportWords();
// The same without the page numbers, which a converted document leaves out of its text.
QStringList reportBodyWords();

// One page whose text is drawn invisibly (text render mode 3).
bool writeInvisibleTextPdf(const QString& path, const QString& text);

// Converts a document with LibreOffice into a PDF in outFolder; the PDF's path, empty when
// LibreOffice could not open or convert the document.
QString officeToPdf(const QString& document, const QString& outFolder);
// The words (letters and digits) of a text, in order, ligatures unfolded.
QStringList words(const QString& text);
// The share of reference's items that items holds (each as often as it holds it).
double shareKept(const QStringList& reference, const QStringList& items);
// Each word with the next, as "word next".
QStringList pairsOf(const QStringList& words);

// The number of pages of a PDF, as pdfinfo reads it.
int pageCount(const QString& pdf);

// The entry of a ZIP package, read with unzip; empty when missing.
QByteArray zipEntry(const QString& package, const QString& entry);
QStringList zipEntries(const QString& package);

} // namespace DocumentPdfs
