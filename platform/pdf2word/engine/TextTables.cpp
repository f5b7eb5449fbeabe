// Tables without rulings: rows of pieces of text (a line split at wide gaps) whose pieces keep to
// the same columns over several rows, as in a financial statement (labels, then figures
// right-aligned in columns), an infobox (labels and values) or a form's numbered lines. Two
// columns of running text line up too; they are told apart by their pieces being sentences.

#include "platform/pdf2word/engine/LayoutGeometry.h"
#include "platform/pdf2word/engine/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// Pieces of one row: baselines within this share of the size.
const float kSameRow = 0.3f;
// Rows of one table are at most this many ems apart (a blank row of a statement included).
const float kMostRowGap = 3.2f;
// A table has at least this many rows of two or more pieces.
const int kLeastRows = 3;
// A column of running text: its pieces hold this many words on average.
const float kProseWords = 5.0f;
// A row of one short piece (a section's label) may sit in a table: at most this many words.
const int kMostLabelWords = 6;
// A wrapped cell's next line follows within this many of its ems.
const float kWrapPitch = 1.6f;

// A number as statements print it: digits with separators, a sign, brackets for a loss, a unit.
bool isFigure(const LaidParagraph& paragraph)
{
    int digits = 0;
    for (const TextLine& line : paragraph.lines) {
        for (const Glyph& glyph : line.glyphs) {
            const char32_t c = glyph.c;
            if (c >= U'0' && c <= U'9')
                ++digits;
            else if (!(c == U',' || c == U'.' || c == U'(' || c == U')' || c == U'-' || c == U'\u2212' || c == U'%' || c == U' '
                       || c == U'$' || c == U'\u20AC' || c == U'\u00A3'))
                return false;
        }
    }
    return digits > 0;
}

struct Row
{
    QVector<int> pieces; // indexes into the lines, left to right
    float baseline = 0;
    float top = 0;
    float bottom = 0;
    float size = 0;
};

struct Span
{
    float x0;
    float x1;
};

// The columns a piece overlaps.
QVector<int> columnsOf(const QVector<Span>& columns, const fz_rect& box)
{
    QVector<int> result;
    for (int c = 0; c < columns.size(); ++c) {
        if (std::min(columns[c].x1, box.x1) > std::max(columns[c].x0, box.x0))
            result.append(c);
    }
    return result;
}

// Adds a piece to the columns: a new column, or a wider one it overlaps. False when it would join
// two columns (a line across the table's gutters).
bool addToColumns(QVector<Span>& columns, const fz_rect& box)
{
    const QVector<int> hit = columnsOf(columns, box);
    if (hit.size() > 1)
        return false;
    if (hit.isEmpty()) {
        columns.append({box.x0, box.x1});
        std::sort(columns.begin(), columns.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
        return true;
    }
    Span& column = columns[hit.front()];
    const Span grown{std::min(column.x0, box.x0), std::max(column.x1, box.x1)};
    for (int c = 0; c < columns.size(); ++c) {
        if (c != hit.front() && std::min(columns[c].x1, grown.x1) > std::max(columns[c].x0, grown.x0))
            return false;
    }
    column = grown;
    return true;
}

TextLine joinedPieces(const QVector<TextLine>& pieces)
{
    TextLine line;
    for (const TextLine& piece : pieces) {
        if (!line.glyphs.isEmpty()) {
            Glyph space = piece.glyphs.front();
            space.c = U' ';
            space.look = -1;
            line.glyphs.append(space);
        }
        line.glyphs += piece.glyphs;
        line.rtl = line.rtl || piece.rtl;
        line.monospace = piece.monospace;
    }
    line.measure();
    return line;
}

// Builds the table of rows [first, last] over the columns, its pieces' lines marked taken.
FoundTable buildTable(const QVector<TextLine>& lines, const QVector<Row>& rows, int first, int last,
                      const QVector<Span>& columns, QVector<bool>& taken)
{
    FoundTable table;
    table.ruled = false;
    // Column edges halfway across each gutter.
    table.columns.append(columns.front().x0);
    for (int c = 1; c < columns.size(); ++c)
        table.columns.append((columns[c - 1].x1 + columns[c].x0) / 2);
    table.columns.append(columns.back().x1);
    // Rows: a row's wrapped continuation (pieces only right of the first column, close below)
    // belongs to it.
    QVector<QVector<int>> tableRows;
    QVector<float> tops;
    for (int r = first; r <= last; ++r) {
        const Row& row = rows[r];
        bool continues = false;
        if (!tableRows.isEmpty() && r > first) {
            const Row& previous = rows[r - 1];
            continues = row.baseline - previous.baseline < kWrapPitch * row.size;
            for (int piece : row.pieces)
                continues = continues && lines[piece].box.x0 > table.columns[1] - 1;
        }
        if (continues) {
            tableRows.back() += row.pieces;
        } else {
            tableRows.append(row.pieces);
            tops.append(row.top);
        }
    }
    table.rows = tops;
    table.rows.append(rows[last].bottom);
    for (int r = 0; r < tableRows.size(); ++r) {
        QVector<QVector<TextLine>> cellLines(columns.size());
        QVector<int> spans(columns.size(), 1);
        for (int piece : tableRows[r]) {
            const QVector<int> hit = columnsOf(columns, lines[piece].box);
            const int column = hit.isEmpty() ? 0 : hit.front();
            cellLines[column].append(lines[piece]);
            spans[column] = std::max(spans[column], hit.isEmpty() ? 1 : hit.back() - hit.front() + 1);
            taken[piece] = true;
        }
        for (int c = 0; c < columns.size();) {
            FoundTable::Cell cell;
            cell.row = r;
            cell.column = c;
            cell.columnSpan = spans[c];
            // Pieces of one baseline in a cell are one line.
            QVector<TextLine> content;
            QVector<TextLine> sameBaseline;
            std::stable_sort(cellLines[c].begin(), cellLines[c].end(),
                             [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline || (a.baseline == b.baseline && a.box.x0 < b.box.x0); });
            for (const TextLine& line : cellLines[c]) {
                if (!sameBaseline.isEmpty() && std::fabs(line.baseline - sameBaseline.back().baseline) > kSameRow * line.size) {
                    content.append(joinedPieces(sameBaseline));
                    sameBaseline.clear();
                }
                sameBaseline.append(line);
            }
            if (!sameBaseline.isEmpty())
                content.append(joinedPieces(sameBaseline));
            const fz_rect area = fz_make_rect(table.columns[c], table.rows[r], table.columns[c + cell.columnSpan], table.rows[r + 1]);
            cell.paragraphs = splitParagraphs(content, area, area);
            table.cells.append(cell);
            c += cell.columnSpan;
        }
    }
    // Without rulings the cells' edges are not known: a column mostly of figures stands to the
    // right (a statement's amounts), the rest to the left (an infobox's values, a year among them).
    QVector<int> figures(columns.size(), 0);
    QVector<int> filled(columns.size(), 0);
    for (const FoundTable::Cell& cell : table.cells) {
        for (const LaidParagraph& paragraph : cell.paragraphs) {
            ++filled[cell.column];
            figures[cell.column] += isFigure(paragraph) ? 1 : 0;
        }
    }
    for (FoundTable::Cell& cell : table.cells) {
        const bool figureColumn = figures[cell.column] * 2 > filled[cell.column];
        for (LaidParagraph& paragraph : cell.paragraphs)
            paragraph.align = figureColumn && isFigure(paragraph) ? Align::Right : Align::Left;
    }
    table.box = fz_make_rect(table.columns.front(), table.rows.front(), table.columns.back(), table.rows.back());
    return table;
}

} // namespace

QVector<FoundTable> findTextTables(QVector<TextLine>& lines)
{
    QVector<int> order;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].vertical && !lines[i].glyphs.isEmpty())
            order.append(i);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return lines[a].baseline < lines[b].baseline || (lines[a].baseline == lines[b].baseline && lines[a].box.x0 < lines[b].box.x0);
    });
    QVector<Row> rows;
    for (int i : order) {
        const TextLine& line = lines[i];
        if (rows.isEmpty() || line.baseline - rows.back().baseline > kSameRow * std::max(line.size, rows.back().size)) {
            Row row;
            row.baseline = line.baseline;
            row.top = line.box.y0;
            row.bottom = line.box.y1;
            rows.append(row);
        }
        Row& row = rows.back();
        row.pieces.append(i);
        row.top = std::min(row.top, line.box.y0);
        row.bottom = std::max(row.bottom, line.box.y1);
        row.size = std::max(row.size, line.size);
    }
    for (Row& row : rows)
        std::sort(row.pieces.begin(), row.pieces.end(), [&](int a, int b) { return lines[a].box.x0 < lines[b].box.x0; });

    QVector<FoundTable> tables;
    QVector<bool> taken(lines.size(), false);
    int start = 0;
    while (start < rows.size()) {
        if (rows[start].pieces.size() < 2) {
            ++start;
            continue;
        }
        // Grow the table down while the rows keep to its columns.
        QVector<Span> columns;
        for (int piece : rows[start].pieces)
            addToColumns(columns, lines[piece].box);
        int last = start;
        int multiRows = 1;
        int lastMulti = start;
        for (int r = start + 1; r < rows.size(); ++r) {
            const Row& row = rows[r];
            if (row.top - rows[r - 1].bottom > kMostRowGap * row.size)
                break;
            QVector<Span> grown = columns;
            bool fits = true;
            if (row.pieces.size() == 1) {
                // A section's label, a spanning heading or a wrapped line stays in the table.
                const TextLine& line = lines[row.pieces.front()];
                fits = wordCount(line) <= kMostLabelWords || columnsOf(columns, line.box).size() == 1;
            } else {
                for (int piece : row.pieces)
                    fits = fits && addToColumns(grown, lines[piece].box);
            }
            if (!fits)
                break;
            columns = grown;
            last = r;
            if (row.pieces.size() >= 2) {
                ++multiRows;
                lastMulti = r;
            }
        }
        last = lastMulti; // a table ends with a row of its columns
        // Running text in columns: every column holds sentences.
        QVector<int> words(columns.size(), 0);
        QVector<int> pieces(columns.size(), 0);
        for (int r = start; r <= last; ++r) {
            for (int piece : rows[r].pieces) {
                const QVector<int> hit = columnsOf(columns, lines[piece].box);
                if (hit.size() != 1)
                    continue;
                words[hit.front()] += wordCount(lines[piece]);
                ++pieces[hit.front()];
            }
        }
        bool prose = true;
        for (int c = 0; c < columns.size(); ++c)
            prose = prose && pieces[c] > 0 && words[c] >= kProseWords * pieces[c];
        if (multiRows >= kLeastRows && columns.size() >= 2 && !prose)
            tables.append(buildTable(lines, rows, start, last, columns, taken));
        start = last + 1;
    }
    QVector<TextLine> kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (!taken[i])
            kept.append(lines[i]);
    }
    lines = kept;
    return tables;
}

} // namespace p2w
