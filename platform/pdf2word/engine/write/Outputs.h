#pragma once

// The output formats written from a FlowDocument. Each writes the whole file at path and returns
// false (with the reason in *error) when it could not.

#include "platform/pdf2word/engine/model/Fitz.h"
#include "platform/pdf2word/engine/model/FlowDocument.h"

#include <QSizeF>
#include <QString>
#include <QVector>

namespace p2w {

bool writeDocx(fz_context* ctx, const FlowDocument& document, const QString& path, QString* error);
bool writeOdt(fz_context* ctx, const FlowDocument& document, const QString& path, QString* error);
// HTML5 in UTF-8 with the pictures inside (data addresses), headings as h1 to h3.
bool writeHtml(const FlowDocument& document, const QString& path, QString* error);
// UTF-8 text, one paragraph per line with an empty line between paragraphs.
bool writeText(const FlowDocument& document, const QString& path, QString* error);

// Text as XML allows it: characters XML 1.0 cannot carry are left out.
QString xmlSafe(const QString& text);

// Takes U+FFFD out of every text of the document: a character that no map of its font named is
// never written, in any format.
void dropReplacementCharacters(FlowDocument& document);

// For each place of the table's grid (row by row), the index of the cell that covers it; -1
// where no cell does.
QVector<int> tableCoverage(const FlowTable& table);
// The size (points) of the text area of pages of a format: the page size within its margins.
QSizeF textArea(const FlowPageFormat& format);
// The text area each of the document's tables stands in: that of the pages of the block holding
// it, or of the table holding it.
QVector<QSizeF> tableAreas(const FlowDocument& document);
// The widths (points) of a table's columns, narrowed together to fit the text area.
QList<double> fittedColumnWidths(const QSizeF& area, const FlowTable& table);
// A run of the document's blocks set in one column, or in the columns of a section, on pages of
// one format.
struct BlockRange
{
    int first = 0;
    int count = 0;
    const FlowSection* columns = nullptr; // nullptr for one column as wide as the text area
    FlowPageFormat format;
    bool newFormat = false; // its pages are of another format than those before it
};
// The document's blocks as runs in order: each section of columns, and the blocks between them,
// parted where the pages change format.
QList<BlockRange> blockRanges(const FlowDocument& document);
// A section's column widths and the gaps between them (points), scaled together to fill the text
// area's width.
void fittedColumns(const QSizeF& area, const FlowSection& section, QList<double>* widths, QList<double>* gaps);

// Whether a paragraph's lines are set exactly as far apart as in the source: where its largest
// text fits that leading with room. Else they are set at least so far apart, and never cut.
bool exactLineSpacing(const FlowBlock& block);

// The names DOCX and ODT give a font's family class and pitch.
QString familyName(FlowFont::Family family);
QString pitchName(const FlowFont& font);

// Whether the text holds a letter written right to left.
bool hasRightToLeft(const QString& text);

// The size (points) a picture gets: its size on the source page, scaled down (aspect kept) to fit
// the text area.
QSizeF fittedPictureSize(const QSizeF& area, const FlowImage& image);

} // namespace p2w
