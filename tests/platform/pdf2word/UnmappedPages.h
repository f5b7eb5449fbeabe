#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Documents whose text is drawn in fonts without a Unicode map, for the PDF-to-Word tests and
// benchmark, each made by real producers:
// - a paper printed by htmldoc whose body font Ghostscript writes as a Type 3 font without a map:
//   htmldoc's PostScript with its body font replaced by one whose glyph names say nothing and
//   whose codes are numbered in the order of first use, as subsetting producers number them
//   (headings, table heads and running heads stay in fonts with a map);
// - Arabic paragraphs under a Latin heading printed by Chromium, the Arabic font's Unicode map
//   taken out with qpdf: all of it, or that of the letters' joining forms;
// - a hostile page written by hand: a run of a Type 3 font one of whose glyphs is drawn as large
//   as the coordinate space.
// The writers return false when their producer failed.
namespace UnmappedPages {

// Sections of prose with a ruled table (tables % 2 == 1) or a table without rulings after every
// second section, tables in all.
QString paperHtml(int seed, int sections, int tables);
bool writeHtmldocPaperPdf(const QString& path, const QString& html);

// The Arabic paragraphs, and their heading in Latin letters.
QStringList arabicParagraphs();
QString arabicHeading();
enum class ArabicMap {
    Full,        // as Chromium writes it
    None,        // the font's map taken out
    BaseLetters, // the map of the joining forms taken out: most glyphs have none
};
bool writeArabicPdf(const QString& path, ArabicMap map);

// The words holding letters of more than one script ("rاِF").
QStringList mixedScriptWords(const QStringList& words);

// One page: a line of text, then a run of a Type 3 font without a Unicode map ("Gz") whose
// second glyph fills a box 10^30 points wide.
QByteArray giantGlyphPdf();

} // namespace UnmappedPages
