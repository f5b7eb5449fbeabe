#pragma once

// The layout of one page in reading order: paragraphs (their lines still apart, so that words
// split at line ends can be joined once the whole document is known), figures and tables.

#include "FlowDocument.h"
#include "PageModel.h"

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

// A ruled table: the grid its rulings draw and the text of each cell.
struct FoundTable
{
    struct Cell : CellPlace
    {
        QVector<LaidParagraph> paragraphs;
    };
    fz_rect box = fz_empty_rect;
    QVector<float> columns; // x of each column's left edge, and the right edge of the last
    QVector<float> rows;    // y of each row's top, and the bottom of the last
    QVector<Cell> cells;    // row by row, left to right; spanned places have no cell
};

// A region drawn as one picture: drawn shapes and pictures, with the labels set in it.
struct FoundFigure
{
    fz_rect box = fz_empty_rect;
    bool withText = true;    // the labels are drawn into the picture (and left out of the text)
    QVector<fz_rect> labels; // where the labels stand
    int imageShape = -1;     // a lone picture that can be taken as it is stored (index of its shape)
};

struct PageItem
{
    enum Kind {
        Paragraph,
        Figure,
        Table
    };
    Kind kind = Paragraph;
    int index = 0; // into paragraphs, figures or tables
    fz_rect box = fz_empty_rect;
    bool margin = false; // a line in the top or bottom margin (running head, page number)
    bool note = false;   // a footnote
};

struct PageLayout
{
    fz_rect mediabox = fz_empty_rect;
    QVector<PageItem> items; // reading order
    QVector<LaidParagraph> paragraphs;
    QVector<FoundFigure> figures;
    QVector<FoundTable> tables;
};

// Lays out a page from its lines and graphics. The work that grows faster than the lines stops
// early when the cookie is aborted (the page's time limit, or a stop), with a partial result.
PageLayout layOutPage(QVector<TextLine> lines, const PageGraphics& graphics, fz_rect mediabox,
                      const fz_cookie* cookie = nullptr);

// The parts of laying out, each in its own file.
QVector<FoundTable> findTables(const PageGraphics& graphics, QVector<TextLine>& lines);
QVector<FoundFigure> findFigures(const PageGraphics& graphics, const QVector<FoundTable>& tables,
                                 QVector<TextLine>& lines, fz_rect mediabox, const fz_cookie* cookie = nullptr);
// The lines in reading order; obstacles (figures, tables) take part as boxes that no column
// reading may jump across. Returns indexes: lines first (0..lines-1), then obstacles.
QVector<int> readingOrder(const QVector<fz_rect>& lineBoxes, const QVector<fz_rect>& obstacles,
                          const fz_cookie* cookie = nullptr);
// Paragraphs of the lines of one text block (a column's run of lines, or a table cell). A block
// of one line is aligned within area (the page's text, or the cell).
QVector<LaidParagraph> splitParagraphs(const QVector<TextLine>& lines, fz_rect column, fz_rect area);

} // namespace p2w
