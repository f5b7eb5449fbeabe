#pragma once

// The layout of one page in reading order: paragraphs (their lines still apart, so that words
// split at line ends can be joined once the whole document is known), figures and tables.

#include "platform/pdf2word/engine/model/LayoutTerms.h"
#include "platform/pdf2word/engine/model/PageModel.h"

#include <QVector>

namespace p2w {

struct LaidParagraph
{
    QVector<TextLine> lines; // top to bottom
    Align align = Align::Left;
    bool rtl = false;
    int indent = 0; // a line of code's indent, in characters
    fz_rect box = fz_empty_rect;
};

// A table: the grid its rulings draw, or that the text's alignment shows, and the text of each
// cell.
struct FoundTable
{
    struct Cell : CellPlace
    {
        QVector<LaidParagraph> paragraphs;
        int shading = -1; // 0xRRGGBB of the cell's fill; -1 for none
    };
    fz_rect box = fz_empty_rect;
    QVector<float> columns; // x of each column's left edge, and the right edge of the last
    QVector<float> rows;    // y of each row's top, and the bottom of the last
    QVector<Cell> cells;    // row by row, left to right; spanned places have no cell
    bool ruled = true;      // drawn with rulings; false for one found from the text's alignment
    bool shaded = false;    // drawn as shaded cells without rulings
};

// A region drawn as one picture: drawn shapes and pictures, with the labels set in it.
struct FoundFigure
{
    fz_rect box = fz_empty_rect;
    bool withText = true;     // the labels are drawn into the picture (and left out of the text)
    QVector<fz_rect> labels;  // where the labels stand
    QString labelText;        // the labels' words, for the picture's description
    int imageShape = -1;      // a lone picture that can be taken as it is stored (index of its shape)
    bool lonePicture = false; // a picture alone, drawn without what lies over or under it
};

struct PageItem
{
    enum Kind {
        Paragraph,
        Figure,
        Table,
        Panel
    };
    Kind kind = Paragraph;
    int index = 0; // into paragraphs, figures, tables or panels
    fz_rect box = fz_empty_rect;
    bool margin = false; // a line in the top or bottom margin (running head, page number)
    bool note = false;   // a footnote
    int columns = -1;    // the columns it stands in (index into PageLayout::columns); -1 for none
    int column = 0;      // which of them, from the left
    bool floats = false; // a box beside running text: set at its place, the text flowing around it
};

// A tinted or framed box around text (a sidebar, an infobox, a heading's bar): its text stays
// text, laid out inside it, with the pictures and tables it holds in their places.
struct FoundPanel
{
    fz_rect box = fz_empty_rect;
    int fill = -1;           // 0xRRGGBB of its tint; -1 for none
    int border = -1;         // 0xRRGGBB of its frame; -1 for none
    QVector<PageItem> items; // its content in reading order
};

// Blocks of centred lines side by side, their first lines on one baseline (a title block's
// authors): read as one piece, block by block from the left, each line a paragraph of its own.
struct FoundBlockRow
{
    fz_rect box = fz_empty_rect;
    QVector<QVector<TextLine>> blocks; // left to right, each top to bottom
};

// Columns side by side that part of the page stands in: running text in two or three columns, or
// a box beside the text. The reading goes down one column and on at the top of the next.
struct FoundColumns
{
    fz_rect box = fz_empty_rect;
    QVector<fz_rect> columns; // left to right, each around what stands in it
};

struct PageLayout
{
    fz_rect mediabox = fz_empty_rect;
    QVector<PageItem> items; // reading order
    QVector<LaidParagraph> paragraphs;
    QVector<FoundFigure> figures;
    QVector<FoundTable> tables;
    QVector<FoundPanel> panels;
    QVector<FoundColumns> columns;
};

// Lays out a page from its lines and graphics. The work that grows faster than the lines stops
// early when the cookie is aborted (the page's time limit, or a stop), with a partial result.
PageLayout layOutPage(QVector<TextLine> lines, const PageGraphics& graphics, fz_rect mediabox,
                      const fz_cookie* cookie = nullptr);

// The parts of laying out, each in its own file.
QVector<FoundTable> findTables(const PageGraphics& graphics, QVector<TextLine>& lines);
// Moves the text inside a table's grid into its cells (glyph by glyph: a line across the table's
// edge leaves the rest of it outside).
void fillTableCells(FoundTable& table, QVector<TextLine>& lines);
// Splits a ruled table's cells where their text shows columns and rows that no ruling draws.
void splitCellsByText(FoundTable& table);
// The shading of ruled tables' cells from the fills inside them; those fills are taken out.
void shadeRuledCells(QVector<FoundTable>& tables, QVector<Shape>& shapes, fz_rect mediabox);
// Tables drawn as shaded cells without rulings: their fills are taken out, their text goes to
// their cells.
QVector<FoundTable> findShadedTables(QVector<Shape>& shapes, QVector<TextLine>& lines, fz_rect mediabox);
// Tables without rulings: runs of rows whose pieces of text line up in columns (labels and
// figures of a financial statement, an infobox's labels and values). Their lines are taken out.
QVector<FoundTable> findTextTables(QVector<TextLine>& lines);
// Fills drawn behind a few words of a line (highlights) become those glyphs' background; their
// shapes are taken out.
void markHighlights(QVector<Shape>& shapes, QVector<TextLine>& lines);
// Check boxes drawn as small squares become the characters ☐ and ☒ in the line beside them (or
// a line of their own); their shapes are taken out.
void markCheckBoxes(QVector<Shape>& shapes, QVector<TextLine>& lines);
// Small pictures standing in a line of text between its words (an icon, a symbol drawn as a
// picture) go into the line as a glyph U+FFFC and leave figures for inline_, which will be the
// page's figures from firstFigure on: the glyph's figure is its index there. Pieces of the line
// they parted are one line again.
void placeInlineFigures(QVector<FoundFigure>& figures, QVector<TextLine>& lines, int firstFigure, QVector<FoundFigure>* inline_);
// Tinted or framed boxes with text inside, the outermost ones; their own shapes are taken out.
QVector<FoundPanel> findPanels(QVector<Shape>& shapes, const QVector<TextLine>& lines, fz_rect mediabox);
QVector<FoundFigure> findFigures(const PageGraphics& graphics, const QVector<FoundTable>& tables,
                                 QVector<TextLine>& lines, fz_rect mediabox, const fz_cookie* cookie = nullptr);
// Rows of side-by-side centred blocks that stand apart from columns of text and tables; their
// lines are taken out.
QVector<FoundBlockRow> findBlockRows(QVector<TextLine>& lines, const QVector<fz_rect>& obstacles);
// The lines in reading order; obstacles (figures, tables, panels, block rows) take part as boxes that no column
// reading may jump across. Returns indexes: lines first (0..lines-1), then obstacles.
QVector<int> readingOrder(const QVector<fz_rect>& lineBoxes, const QVector<fz_rect>& obstacles,
                          const fz_cookie* cookie = nullptr);
// The columns the page's body items (in reading order) stand in: marks each item in them; boxes
// (tables, panels, figures) that stand beside one column of running text float instead.
void findColumns(PageLayout& page);
// Paragraphs of the lines of one text block (a column's run of lines, or a table cell). A block
// of one line is aligned within area (the page's text, or the cell).
QVector<LaidParagraph> splitParagraphs(const QVector<TextLine>& lines, fz_rect column, fz_rect area);

} // namespace p2w
