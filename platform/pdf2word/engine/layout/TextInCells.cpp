// The columns and rows that the text inside a ruled table's cells shows where no ruling draws
// them: a table ruled only around its body and under its header (a paper's table, a statement's
// figures under one frame) holds its columns of figures and its rows in one ruled cell each.
// A cell's columns come from the steady gutters of its column's text; its rows from lines that
// stand on one baseline across two cells or more, none of them wrapped, so that a cell of several
// lines of one entry stays one cell; a cell spanning rows whose lines each stand on a row's
// baseline (a form's numbered lines) is a cell in each row.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/layout/TextGutters.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

QVector<TextLine> linesOf(const FoundTable::Cell& cell)
{
    QVector<TextLine> lines;
    for (const LaidParagraph& paragraph : cell.paragraphs)
        lines += paragraph.lines;
    std::stable_sort(lines.begin(), lines.end(), [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline; });
    return lines;
}

QVector<int> allOf(const QVector<TextLine>& lines)
{
    QVector<int> which(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        which[i] = i;
    return which;
}

fz_rect areaOf(const FoundTable& table, const CellPlace& place)
{
    return fz_make_rect(table.columns[place.column], table.rows[place.row], table.columns[place.column + place.columnSpan],
                        table.rows[place.row + place.rowSpan]);
}

// A cell at place holding lines, laid out in its area, with the shading of the cell it came from.
FoundTable::Cell cellOf(const FoundTable& table, const CellPlace& place, const QVector<TextLine>& lines, int shading)
{
    FoundTable::Cell cell;
    static_cast<CellPlace&>(cell) = place;
    cell.shading = shading;
    const fz_rect area = areaOf(table, place);
    cell.paragraphs = splitParagraphs(lines, area, area);
    return cell;
}

int edgeIndex(const QVector<float>& edges, float edge)
{
    return int(std::lower_bound(edges.begin(), edges.end(), edge - 0.01f) - edges.begin());
}

// The cell's lines among the new columns from first to last (exclusive): each line in the columns
// it reaches well into; columns a line reaches across are one spanning cell, the others a cell
// each.
void splitAcross(const FoundTable& table, const FoundTable::Cell& cell, int first, int last, QVector<FoundTable::Cell>& cells)
{
    const QVector<TextLine> lines = linesOf(cell);
    const int count = last - first;
    QVector<int> joinedToNext(count, 0);
    QVector<QVector<TextLine>> parts(count);
    for (const TextLine& line : lines) {
        int from = -1;
        int to = -1;
        for (int k = 0; k < count; ++k) {
            const float shared = std::min(line.box.x1, table.columns[first + k + 1]) - std::max(line.box.x0, table.columns[first + k]);
            if (shared > layoutTuning().textInCells.leastShare * line.size || (shared > 0 && shared >= 0.5f * width(line.box))) {
                from = from < 0 ? k : from;
                to = k;
            }
        }
        if (from < 0)
            from = to = 0;
        for (int k = from; k < to; ++k)
            joinedToNext[k] = 1;
        parts[from].append(line);
    }
    for (int k = 0; k < count;) {
        CellPlace place = cell;
        place.column = first + k;
        place.columnSpan = 1;
        QVector<TextLine> content = parts[k];
        while (k + place.columnSpan < count && joinedToNext[k + place.columnSpan - 1]) {
            content += parts[k + place.columnSpan];
            ++place.columnSpan;
        }
        std::stable_sort(content.begin(), content.end(), [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline; });
        cells.append(cellOf(table, place, content, cell.shading));
        k += place.columnSpan;
    }
}

// A cell spanning columns (a ruling missing under the header) whose text keeps to them, two or
// more of them holding text and none reached across, is a cell in each.
void splitSpans(FoundTable& table)
{
    QVector<FoundTable::Cell> cells;
    for (const FoundTable::Cell& cell : table.cells) {
        if (cell.columnSpan == 1) {
            cells.append(cell);
            continue;
        }
        QVector<FoundTable::Cell> parts;
        splitAcross(table, cell, cell.column, cell.column + cell.columnSpan, parts);
        int holding = 0;
        for (const FoundTable::Cell& part : parts)
            holding += part.paragraphs.isEmpty() ? 0 : 1;
        if (holding >= 2)
            cells += parts;
        else
            cells.append(cell);
    }
    table.cells = cells;
}

// Whether the line stands on the baseline of text in another cell of grid row `row` that spans
// that row alone: it is that row's entry.
bool onRowsBaseline(const FoundTable& table, int self, int row, const TextLine& line)
{
    for (int i = 0; i < table.cells.size(); ++i) {
        const FoundTable::Cell& cell = table.cells[i];
        if (i == self || cell.row != row || cell.rowSpan != 1)
            continue;
        for (const LaidParagraph& paragraph : cell.paragraphs) {
            for (const TextLine& other : paragraph.lines) {
                if (std::fabs(other.baseline - line.baseline) <= layoutTuning().lines.sameRow * std::max(line.size, other.size))
                    return true;
            }
        }
    }
    return false;
}

// A cell spanning rows (a form's descriptions of its numbered lines, ruled only around their
// group) whose every line stands on the baseline of another cell's text in one of those rows,
// two rows or more holding lines, is a cell in each row.
void splitRowSpans(FoundTable& table)
{
    QVector<FoundTable::Cell> cells;
    for (int i = 0; i < table.cells.size(); ++i) {
        const FoundTable::Cell& cell = table.cells[i];
        const QVector<TextLine> lines = linesOf(cell);
        QVector<QVector<TextLine>> parts(cell.rowSpan);
        bool keeps = cell.rowSpan > 1 && lines.size() >= 2;
        for (const TextLine& line : lines) {
            if (!keeps)
                break;
            const float middle = (line.box.y0 + line.box.y1) / 2;
            int row = cell.row;
            while (row + 1 < cell.row + cell.rowSpan && middle >= table.rows[row + 1])
                ++row;
            keeps = onRowsBaseline(table, i, row, line);
            parts[row - cell.row].append(line);
        }
        int holding = 0;
        for (const QVector<TextLine>& part : parts)
            holding += part.isEmpty() ? 0 : 1;
        if (!keeps || holding < 2) {
            cells.append(cell);
            continue;
        }
        for (int k = 0; k < cell.rowSpan; ++k) {
            CellPlace place = cell;
            place.row = cell.row + k;
            place.rowSpan = 1;
            cells.append(cellOf(table, place, parts[k], cell.shading));
        }
    }
    std::stable_sort(cells.begin(), cells.end(), [](const FoundTable::Cell& a, const FoundTable::Cell& b) {
        return a.row < b.row || (a.row == b.row && a.column < b.column);
    });
    table.cells = cells;
}

// New columns in the gutters of each column's text, its cells that span no other column.
void splitColumns(FoundTable& table)
{
    QVector<float> columns = table.columns;
    for (int c = 0; c + 1 < table.columns.size(); ++c) {
        QVector<TextLine> lines;
        for (const FoundTable::Cell& cell : table.cells) {
            if (cell.column == c && cell.columnSpan == 1)
                lines += linesOf(cell);
        }
        if (lines.size() < 2)
            continue;
        const fz_rect region = fz_make_rect(table.columns[c], table.rows.front(), table.columns[c + 1], table.rows.back());
        columns += gutterEdges(lines, textRows(lines, allOf(lines)), region, {table.columns[c], table.columns[c + 1]});
    }
    if (columns.size() == table.columns.size())
        return;
    std::sort(columns.begin(), columns.end());
    QVector<FoundTable::Cell> cells;
    const FoundTable old = table;
    table.columns = columns;
    for (const FoundTable::Cell& cell : old.cells) {
        const int first = edgeIndex(columns, old.columns[cell.column]);
        const int last = edgeIndex(columns, old.columns[cell.column + cell.columnSpan]);
        if (last - first == cell.columnSpan) {
            FoundTable::Cell moved = cell;
            moved.column = first;
            cells.append(moved);
            continue;
        }
        splitAcross(table, cell, first, last, cells);
    }
    table.cells = cells;
}

// Whether a line was broken by a line breaker: the next line's first word and a space would not
// have fitted in the room it left up to its cell's edge.
bool wrapped(const TextLine& line, const TextLine& next, const fz_rect& area)
{
    const float room = line.rtl ? line.box.x0 - area.x0 : area.x1 - line.box.x1;
    return room < firstWordWidth(next) + layoutTuning().textInCells.space * line.size;
}

// The text rows a grid row holds as rows of their own: two or more, each with text in two cells
// or more, no cell's line wrapped into the next or set in another size than the next. Empty when
// the row stays one.
QVector<TextRow> rowsInside(const FoundTable& table, int row)
{
    QVector<TextLine> lines;
    QVector<int> cellOfLine;
    for (int i = 0; i < table.cells.size(); ++i) {
        const FoundTable::Cell& cell = table.cells[i];
        if (cell.row > row || cell.row + cell.rowSpan <= row)
            continue;
        if (cell.rowSpan > 1)
            return {};
        const QVector<TextLine> content = linesOf(cell);
        const fz_rect area = areaOf(table, cell);
        for (int k = 0; k + 1 < content.size(); ++k) {
            // A line broken by a line breaker, or a form's label over its value set larger.
            if (wrapped(content[k], content[k + 1], area)
                || std::fabs(content[k].size - content[k + 1].size) > layoutTuning().textInCells.otherSize * std::max(content[k].size, content[k + 1].size))
                return {};
        }
        lines += content;
        cellOfLine += QVector<int>(content.size(), i);
    }
    const QVector<TextRow> rows = textRows(lines, allOf(lines));
    if (rows.size() < 2)
        return {};
    for (const TextRow& textRow : rows) {
        QVector<int> cells;
        for (int i : textRow.lines) {
            if (!cells.contains(cellOfLine[i]))
                cells.append(cellOfLine[i]);
        }
        if (cells.size() < 2)
            return {};
    }
    return rows;
}

// Splits the grid rows whose cells hold rows of their own, at the middle of the space between
// their lines.
void splitRows(FoundTable& table)
{
    const int rowCount = table.rows.size() - 1;
    QVector<QVector<float>> inside(rowCount); // the edges inside each grid row
    bool any = false;
    for (int r = 0; r < rowCount; ++r) {
        const QVector<TextRow> textRowsOf = rowsInside(table, r);
        for (int k = 1; k < textRowsOf.size(); ++k)
            inside[r].append((textRowsOf[k - 1].bottom + textRowsOf[k].top) / 2);
        any = any || !inside[r].isEmpty();
    }
    if (!any)
        return;
    QVector<float> rows;
    QVector<int> firstOf(rowCount + 1); // each old row's first new row
    for (int r = 0; r < rowCount; ++r) {
        firstOf[r] = rows.size();
        rows.append(table.rows[r]);
        rows += inside[r];
    }
    firstOf[rowCount] = rows.size();
    rows.append(table.rows.back());
    const FoundTable old = table;
    table.rows = rows;
    table.cells.clear();
    for (const FoundTable::Cell& cell : old.cells) {
        if (inside[cell.row].isEmpty()) {
            FoundTable::Cell moved = cell;
            moved.row = firstOf[cell.row];
            moved.rowSpan = firstOf[cell.row + cell.rowSpan] - moved.row;
            table.cells.append(moved);
            continue;
        }
        // One cell for each of the new rows, holding its lines.
        const QVector<TextLine> lines = linesOf(cell);
        for (int k = 0; k <= inside[cell.row].size(); ++k) {
            const float top = table.rows[firstOf[cell.row] + k];
            const float bottom = table.rows[firstOf[cell.row] + k + 1];
            QVector<TextLine> content;
            for (const TextLine& line : lines) {
                const float middle = (line.box.y0 + line.box.y1) / 2;
                if (middle >= top && middle < bottom)
                    content.append(line);
            }
            CellPlace place = cell;
            place.row = firstOf[cell.row] + k;
            table.cells.append(cellOf(table, place, content, cell.shading));
        }
    }
    std::stable_sort(table.cells.begin(), table.cells.end(), [](const FoundTable::Cell& a, const FoundTable::Cell& b) {
        return a.row < b.row || (a.row == b.row && a.column < b.column);
    });
}

} // namespace

void splitCellsByText(FoundTable& table)
{
    splitSpans(table);
    splitColumns(table);
    splitRowSpans(table);
    splitRows(table);
}

} // namespace p2w
