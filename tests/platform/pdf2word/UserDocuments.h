#pragma once

#include <QList>
#include <QString>

// Documents of the kinds users bring to the PDF-to-Word conversion, beside the papers of
// RealDocuments, each printed by the producer that makes such documents:
// - a web page printed by Chromium: an article with a framed, tinted infobox (a picture, a title,
//   label and value rows without rulings) floating beside the text, coloured links and headings;
// - a two-page form written by LibreOffice: a title block, ruled boxes for the name, numbered
//   lines with their amounts in boxes, drawn check boxes (empty and crossed), headings white on
//   black bars and a label turned on its side ("PRINT CLEARLY");
// - a financial statement printed by LibreOffice Calc: labels and right-aligned numbers in
//   columns, horizontal rules only;
// - a slide printed by LibreOffice Impress: a title, bullets and a tinted sidebar holding text
//   and a picture;
// - a table of shaded cells from LibreOffice Calc: a tinted header with white text, banded rows
//   and this year's column tinted, no rulings;
// - an article printed by Chromium: paragraphs beside an infobox framed by a hairline only;
// - tables in Arabic printed by Chromium, right to left: one ruled, one without rulings;
// - a paragraph printed by troff (groff's PostScript, made a PDF by Ghostscript) whose accented
//   letters are troff's overstrikes of the accent and the letter, drawn apart as TeX's standard
//   fonts draw them ("na¨ıve").
// Each returns false when its producer failed.
namespace UserDocuments {

bool writeWebPagePdf(const QString& path);
bool writeFormPdf(const QString& path);
bool writeStatementPdf(const QString& path);
bool writeSlidePdf(const QString& path);
bool writeShadedTablePdf(const QString& path);
bool writeArticlePdf(const QString& path);
bool writeOverstruckAccentsPdf(const QString& path, const QString& text);
bool writeArabicTablesPdf(const QString& path);
// Prints the HTML (its page written beside path) with Chromium, with a fresh profile and nothing
// that reaches the network; headerAndFooter: the date, title and address on each page.
bool printWithChromium(const QString& html, const QString& path, bool headerAndFooter = true);

// What the documents show, for checks of their conversions.
struct Row
{
    QString label;
    QString value;  // an infobox's value; a form line's or a statement row's (this year's) amount
    QString number; // a form line's number; a statement row's amount of the year before
};
QList<Row> infoboxRows();
QList<Row> formLines();       // both pages
QList<Row> statementRows();   // rows with amounts
QList<Row> shadedTableRows(); // a region, this year's figure, last year's
QStringList articleParagraphs();
// The Arabic tables' rows, in reading order (the first cell the rightmost on the page).
QList<QStringList> arabicTableRows();

} // namespace UserDocuments
