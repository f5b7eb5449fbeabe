#pragma once

// The document the engine writes, whatever the road: flowing paragraphs of formatted runs and
// pictures, in reading order. Both roads fill it, every output format is written from it.

#include "platform/pdf2word/engine/model/LayoutTerms.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace p2w {

struct FlowRun
{
    QString text;    // may hold '\n' where the source broke a line, until the paragraph is tidied
    QString font;    // family name
    double size = 0; // points
    bool bold = false;
    bool italic = false;
    int shift = 0;    // 1 raised (superscript), -1 lowered (subscript)
    int color = 0;    // 0xRRGGBB; black by default
    int shading = -1; // 0xRRGGBB of a highlight behind the text; -1 for none
    int image = -1;   // a picture in the line instead of text: index into FlowDocument::images

    bool sameLook(const FlowRun& other) const;
};

// A colour as six hexadecimal digits, as DOCX, ODT and HTML write it ("1F4E79").
QString hexColor(int rgb);

// A font the document's text is set in, described so that a reader who lacks it substitutes a
// like one: a serif text stays serif, a monospace listing monospace.
struct FlowFont
{
    enum Family {
        Roman,      // with serifs
        Swiss,      // without
        Modern,     // every glyph as wide as the next
        Script,     // handwriting
        Decorative, // display faces, symbols
    };
    QString name; // the family name the runs give
    Family family = Swiss;
    bool fixedPitch = false;
    QByteArray panose; // the ten PANOSE digits, when the font file gives them
    int charset = -1;  // the Windows character set the file names first, -1 when it names none
};

struct FlowImage
{
    QByteArray data;     // the encoded picture
    QString type;        // "png" or "jpeg"
    QString description; // words drawn into it (a chart's labels), as its alternative text
    double width = 0;    // points, as placed on the page
    double height = 0;
};

struct FlowBlock
{
    enum Kind {
        Paragraph,
        Image,
        Table
    };
    Kind kind = Paragraph;
    Align align = Align::Left;
    bool rtl = false;               // a paragraph read right to left
    bool pageBreakBefore = false;   // starts a page, as in the source after a page that ended short
    bool columnBreakBefore = false; // starts the next column, as where the source's column ended short
    double lineSpacing = 0;         // points from one line's baseline to the next, at least; 0 for the font's own
    double spaceBefore = -1;        // points above it, as in the source; -1 for the format's usual space after each paragraph
    // Points its lines keep from the left and right edges of what holds it (the text area, a
    // column, a cell's padding), and its first line from the others (less than 0: hanging).
    double leftIndent = 0;
    double rightIndent = 0;
    double firstLineIndent = 0;
    // A box beside the running text (a picture, a table, a panel) floats at its place, the text
    // flowing around it: points from the page's left edge to its left edge, and from the top of
    // the block after it, which anchors it, to its top (below the space above that block).
    bool floats = false;
    double floatX = 0;
    double floatY = 0;
    // Read last on its page, after the text beside it: floatY from the page's top, anchored by a
    // paragraph of its own.
    bool floatFromPage = false;
    // A block set at its place on its page, out of the flow: a line at the foot of its page apart
    // from the text above it (a mark, a date, a note of the page), or a picture larger than the
    // text area (a page's scan); points from the page's top to its first line or its top (and, for
    // a picture, from the page's left edge in floatX); -1 for a block in the flow.
    double pageY = -1;
    QList<FlowRun> runs;
    int image = -1; // index into FlowDocument::images for an Image block
    int table = -1; // index into FlowDocument::tables for a Table block

    QString text() const;
};

// A table cell's padding left and right (points) in the written documents: the columns are as
// narrow as the source's, and a word processor's default padding would break the words that fill
// them. Its paragraphs' indents are measured from inside it.
const int kCellPadding = 2;

struct FlowCell : CellPlace
{
    QList<FlowBlock> paragraphs; // its blocks: paragraphs, and in a panel also pictures and tables
    int shading = -1;            // 0xRRGGBB of its own background; -1 for the table's
};

struct FlowTable
{
    // A ruled table has a line around every cell; a table found from the text's alignment none;
    // a panel (a one-cell table) its frame, if any, and its tint.
    enum Borders {
        Grid,
        None,
        Frame
    };
    QList<double> columnWidths; // points, in reading order
    int rows = 0;
    QList<double> rowHeights; // points, the least each row is high; none for a table found from text
    QList<FlowCell> cells;    // row by row in reading order; places covered by a span have none
    Borders borders = Grid;
    int borderColor = 0; // 0xRRGGBB
    int shading = -1;    // 0xRRGGBB of the cells' background; -1 for none
    // Read right to left (most of its text is): its columns and cells in reading order, the first
    // column the rightmost; otherwise left to right.
    bool rtl = false;

    // The background of a cell: its own, else the table's; -1 for none.
    int shadingOf(const FlowCell& cell) const { return cell.shading >= 0 ? cell.shading : shading; }
};

// Blocks set in columns side by side (running text in two or three columns, a box beside the
// text): the reading goes down one column and on at the top of the next.
struct FlowSection
{
    int first = 0;              // index of its first block
    int count = 0;              // how many blocks it holds
    QList<double> columnWidths; // points, left to right, as in the source
    QList<double> gaps;         // points between each column and the next
};

// A running head or foot: its text, and whether the page number stands after it.
struct FlowMargin
{
    QString text;
    bool pageNumber = false;
    double size = 0;
    bool onFirstPage = true; // false when the source's first page has no running head there

    bool isEmpty() const { return text.isEmpty() && !pageNumber; }
};

// The pages a run of blocks stands on: their size (and so their orientation) and margins.
struct FlowPageFormat
{
    int first = 0; // index of the first block on pages of this format
    QSizeF size;   // points
    QMarginsF margins;

    bool sameAs(const FlowPageFormat& other) const;
};

struct FlowDocument
{
    QList<FlowBlock> blocks;
    QList<FlowImage> images;
    QList<FlowTable> tables;
    QList<FlowSection> sections; // the blocks set in columns, in order; the others fill the text area's width
    FlowMargin header;           // running head and page number of the source's pages, out of the body
    FlowMargin footer;
    QSizeF pageSize;                                       // points, of the first converted page
    QMarginsF margins = QMarginsF(56.7, 56.7, 56.7, 56.7); // points: as far as the source's text keeps from its edges
    // Where the pages change size or orientation (and so margins), in order: from each one's first
    // block on, until the next. The blocks before the first are on pages of pageSize and margins.
    QList<FlowPageFormat> pageChanges;
    QString title;
    QList<FlowFont> fonts; // every font a run names, once

    // The font size most of the text is set in; 0 without text.
    double bodySize() const;
    // The fonts the runs name (in tables too), each once, in the order first met.
    QStringList fontNames() const;
    // Whether the first page has margins of its own: a running head or foot that the source's
    // first page does not show is left off it.
    bool firstPageOwnMargins() const;
    // The format of the pages the body's block stands on.
    FlowPageFormat formatOf(int block) const;
};

// The key with the largest count (the first of equals); 0 for no counts.
int mostFrequent(const QMap<int, int>& counts);

// The font size (points) most characters of the runs are set in; 0 without text.
double mainSize(const QList<FlowRun>& runs);

} // namespace p2w
