// Tables drawn as shaded cells: filled rectangles side by side and one above another, touching or
// apart by thin white gaps, without rulings (a spreadsheet's tinted header and banded rows, a web
// page's table of spaced cells, a word processor's table with white borders). The fills tile the
// table; their edges and the gutters of the text inside give its grid, and each cell keeps its
// fill as its shading. A column tinted alone (a statement's current year) takes the rows of text
// beside it that keep to its rows.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/layout/TextGutters.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/model/UnionFind.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// A page of more fills than this is a drawing (a map, a chart of many bars), not looked at.
const int kMostFills = 2000;

bool isTint(const Shape& shape, float pageArea)
{
    if (shape.kind != Shape::Path || !shape.rectangle || !shape.filled || shape.thin || area(shape.box) > layoutTuning().lines.backgroundShare * pageArea)
        return false;
    const int r = (shape.color >> 16) & 0xFF;
    const int g = (shape.color >> 8) & 0xFF;
    const int b = shape.color & 0xFF;
    return std::min({r, g, b}) < layoutTuning().shadedTables.lightest;
}

float overlap(float a0, float a1, float b0, float b1)
{
    return std::min(a1, b1) - std::max(a0, b0);
}

// Whether two fills are neighbouring cells: side by side, one above the other, or banded rows
// of one width with an unfilled row between.
bool neighbours(const fz_rect& a, const fz_rect& b)
{
    const float across = overlap(a.y0, a.y1, b.y0, b.y1);
    const float along = overlap(a.x0, a.x1, b.x0, b.x1);
    const float gapX = std::max(a.x0, b.x0) - std::min(a.x1, b.x1);
    const float gapY = std::max(a.y0, b.y0) - std::min(a.y1, b.y1);
    if (across >= layoutTuning().shadedTables.sideShare * std::min(a.y1 - a.y0, b.y1 - b.y0) && gapX <= layoutTuning().shadedTables.gap)
        return true;
    if (along >= layoutTuning().shadedTables.sideShare * std::min(width(a), width(b)) && gapY <= layoutTuning().shadedTables.gap)
        return true;
    const bool sameWidth = std::fabs(a.x0 - b.x0) <= layoutTuning().lines.sameEdge && std::fabs(a.x1 - b.x1) <= layoutTuning().lines.sameEdge;
    return sameWidth && gapY > 0 && gapY <= layoutTuning().shadedTables.bandGap * std::max(a.y1 - a.y0, b.y1 - b.y0);
}

// The fills that neighbour one another, grouped.
QVector<QVector<int>> groupFills(const QVector<Shape>& shapes, const QVector<int>& fills)
{
    QVector<int> order = fills;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return shapes[a].box.y0 < shapes[b].box.y0; });
    QVector<int> parent = separateGroups(order.size());
    for (int i = 0; i < order.size(); ++i) {
        const fz_rect a = shapes[order[i]].box;
        const float reach = a.y1 + std::max(layoutTuning().shadedTables.gap, layoutTuning().shadedTables.bandGap * (a.y1 - a.y0));
        for (int j = i + 1; j < order.size() && shapes[order[j]].box.y0 <= reach; ++j) {
            if (neighbours(a, shapes[order[j]].box))
                joinGroups(parent, i, j);
        }
    }
    QVector<QVector<int>> groups = groupsInOrder(parent);
    for (QVector<int>& group : groups) {
        for (int& i : group)
            i = order[i];
    }
    return groups;
}

// Edges closer than shadedTables.gap become one (a white gap between two cells is the edge between them).
QVector<float> mergedEdges(QVector<float> edges)
{
    std::sort(edges.begin(), edges.end());
    QVector<float> merged;
    QVector<int> counts;
    for (float edge : edges) {
        if (!merged.isEmpty() && edge - merged.back() <= layoutTuning().shadedTables.gap) {
            // The middle of the run of close edges.
            merged.back() = (merged.back() * counts.back() + edge) / (counts.back() + 1);
            ++counts.back();
            continue;
        }
        merged.append(edge);
        counts.append(1);
    }
    return merged;
}

QVector<int> linesInside(const QVector<TextLine>& lines, const fz_rect& region)
{
    QVector<int> inside;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].glyphs.isEmpty() && centreInside(lines[i].box, region))
            inside.append(i);
    }
    return inside;
}

// Widens the region of a tinted column over the text beside it that keeps to its rows: labels on
// the left, other years on the right. Running text beside a shaded table stays out.
fz_rect withRowsBeside(const QVector<TextLine>& lines, fz_rect region)
{
    const QVector<TextRow> rows = textRows(lines, linesInside(lines, region));
    if (rows.size() < layoutTuning().shadedTables.leastRows)
        return region;
    for (int side = 0; side < 2; ++side) {
        QVector<int> beside;
        int words = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const TextLine& line = lines[i];
            const float middle = (line.box.y0 + line.box.y1) / 2;
            if (line.vertical || line.glyphs.isEmpty() || middle < region.y0 || middle > region.y1)
                continue;
            if (side == 0 ? line.box.x1 <= region.x0 + 1 : line.box.x0 >= region.x1 - 1) {
                beside.append(i);
                words += wordCount(line);
            }
        }
        if (beside.isEmpty() || words >= layoutTuning().lines.proseWords * beside.size())
            continue;
        QVector<bool> covered(rows.size(), false);
        int onRows = 0;
        for (int i : beside) {
            for (int r = 0; r < rows.size(); ++r) {
                if (std::fabs(lines[i].baseline - rows[r].baseline) <= layoutTuning().lines.sameRow * lines[i].size) {
                    covered[r] = true;
                    ++onRows;
                    break;
                }
            }
        }
        const int coveredRows = int(std::count(covered.begin(), covered.end(), true));
        if (onRows < layoutTuning().shadedTables.besideOnRows * beside.size() || coveredRows < layoutTuning().shadedTables.rowsCovered * rows.size())
            continue;
        for (int i : beside) {
            region.x0 = std::min(region.x0, lines[i].box.x0 - 1);
            region.x1 = std::max(region.x1, lines[i].box.x1 + 1);
        }
    }
    return region;
}

// The edges, in order, between from and to (which are the outer ones); edges this close are one.
QVector<float> edgesFrom(QVector<float> edges, float from, float to)
{
    std::sort(edges.begin(), edges.end());
    QVector<float> kept = {from};
    for (float edge : edges) {
        if (edge > from + layoutTuning().lines.sameEdge && edge < to - layoutTuning().lines.sameEdge && edge - kept.back() > layoutTuning().lines.sameEdge)
            kept.append(edge);
    }
    kept.append(to);
    return kept;
}

// Widens the region of a tinted column's table up over its header: the row of short pieces of
// text right above it, two or more, within its width (the years over a statement's figures).
fz_rect withHeaderAbove(const QVector<TextLine>& lines, fz_rect region)
{
    QVector<int> above;
    for (int i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        if (!line.vertical && !line.glyphs.isEmpty() && line.box.y1 <= region.y0 + 1 && line.box.y1 > region.y0 - layoutTuning().lines.wrapPitch * line.size
            && line.box.x0 >= region.x0 - 1 && line.box.x1 <= region.x1 + 1 && wordCount(line) <= layoutTuning().shadedTables.mostColumnWords)
            above.append(i);
    }
    const QVector<TextRow> rows = textRows(lines, above);
    if (rows.isEmpty() || rows.back().lines.size() < 2)
        return region;
    region.y0 = std::min(region.y0, rows.back().top - 1);
    return region;
}

// The column edges: the fills' side edges, and the gutters of the text inside one fill (a band
// across the row) where rows have text on both sides; a header set left over figures set right
// within one cell is one column.
QVector<float> columnEdges(const QVector<Shape>& shapes, const QVector<int>& fills, const QVector<TextLine>& lines,
                           const QVector<TextRow>& rows, const fz_rect& region)
{
    QVector<float> edges = {region.x0, region.x1};
    for (int f : fills)
        edges << shapes[f].box.x0 << shapes[f].box.x1;
    edges = mergedEdges(edges);
    return edgesFrom(edges + gutterEdges(lines, rows, region, edges), region.x0, region.x1);
}

// Whether row b continues row a: a wrapped line or two of its cells, close below (closer than
// the rows are usually apart), each under a piece of a, fewer than a's.
bool continuesRow(const QVector<TextLine>& lines, const TextRow& a, const TextRow& b, float usualPitch)
{
    const float pitch = b.baseline - a.baseline;
    if (pitch >= layoutTuning().lines.wrapPitch * std::max(a.size, b.size) || pitch >= layoutTuning().lines.wrapShare * usualPitch || b.lines.size() >= a.lines.size())
        return false;
    for (int i : b.lines) {
        bool under = false;
        for (int j : a.lines)
            under = under || overlapX(lines[i].box, lines[j].box);
        if (!under)
            return false;
    }
    return true;
}

// The row edges: the fills' top and bottom edges, and between two rows of text that no edge parts
// where no cell's fill holds the two alone and the second does not continue the first.
QVector<float> rowEdges(const QVector<Shape>& shapes, const QVector<int>& fills, const QVector<TextLine>& lines,
                        const QVector<TextRow>& rows, const fz_rect& region)
{
    QVector<float> edges = {region.y0, region.y1};
    for (int f : fills)
        edges << shapes[f].box.y0 << shapes[f].box.y1;
    edges = mergedEdges(edges);
    QVector<float> pitches;
    for (int r = 1; r < rows.size(); ++r)
        pitches.append(rows[r].baseline - rows[r - 1].baseline);
    std::sort(pitches.begin(), pitches.end());
    const float usualPitch = pitches.isEmpty() ? 0 : pitches[pitches.size() / 2];
    QVector<float> parted;
    for (int r = 1; r < rows.size(); ++r) {
        const TextRow& above = rows[r - 1];
        const TextRow& below = rows[r];
        const float middleAbove = (above.top + above.bottom) / 2;
        const float middleBelow = (below.top + below.bottom) / 2;
        if (hasEdgeIn(edges, middleAbove, middleBelow) || continuesRow(lines, above, below, usualPitch))
            continue;
        // One cell's fill around both, and no other row.
        bool oneFill = false;
        for (int f : fills) {
            const fz_rect box = shapes[f].box;
            int held = 0;
            for (const TextRow& row : rows)
                held += (row.top + row.bottom) / 2 > box.y0 && (row.top + row.bottom) / 2 < box.y1 ? 1 : 0;
            oneFill = oneFill || (box.y0 <= above.top + 1 && box.y1 >= below.bottom - 1 && held == 2);
        }
        if (!oneFill)
            parted.append((above.bottom + below.top) / 2);
    }
    return edgesFrom(edges + parted, region.y0, region.y1);
}

// Whether a word of the line reaches across x (a line may run on over a gap between two cells).
bool wordAcross(const TextLine& line, float x)
{
    for (const auto& word : wordSpans(line)) {
        if (word.first < x - 1 && word.second > x + 1)
            return true;
    }
    return false;
}

// The cells of the grid, row by row; a word across a column edge that no fill draws in that row
// makes its cell span the edge.
QVector<FoundTable::Cell> gridCells(const FoundTable& table, const QVector<Shape>& shapes, const QVector<int>& fills,
                                    const QVector<TextLine>& lines, const QVector<int>& inside)
{
    const int columns = table.columns.size() - 1;
    QVector<FoundTable::Cell> cells;
    for (int r = 0; r + 1 < table.rows.size(); ++r) {
        const float top = table.rows[r];
        const float bottom = table.rows[r + 1];
        QVector<bool> crossed(columns + 1, false);
        for (int i : inside) {
            const fz_rect box = lines[i].box;
            const float middle = (box.y0 + box.y1) / 2;
            if (middle < top || middle >= bottom)
                continue;
            for (int c = 1; c < columns; ++c)
                crossed[c] = crossed[c] || wordAcross(lines[i], table.columns[c]);
        }
        for (int f : fills) {
            const fz_rect box = shapes[f].box;
            if (overlap(box.y0, box.y1, top, bottom) < 0.5f * (bottom - top))
                continue;
            for (int c = 1; c < columns; ++c) {
                if (std::fabs(box.x0 - table.columns[c]) <= layoutTuning().shadedTables.gap || std::fabs(box.x1 - table.columns[c]) <= layoutTuning().shadedTables.gap)
                    crossed[c] = false;
            }
        }
        for (int c = 0; c < columns;) {
            FoundTable::Cell cell;
            cell.row = r;
            cell.column = c;
            while (c + cell.columnSpan < columns && crossed[c + cell.columnSpan])
                ++cell.columnSpan;
            c += cell.columnSpan;
            cells.append(cell);
        }
    }
    return cells;
}

fz_rect cellBox(const FoundTable& table, const CellPlace& cell)
{
    return fz_make_rect(table.columns[cell.column], table.rows[cell.row], table.columns[cell.column + cell.columnSpan],
                        table.rows[cell.row + cell.rowSpan]);
}

// Each cell's shading: the fill, of those given, that covers most of it, at least half (the
// smaller of two that cover it alike).
void shadeCells(FoundTable& table, const QVector<Shape>& shapes, const QVector<int>& fills)
{
    for (FoundTable::Cell& cell : table.cells) {
        const fz_rect box = cellBox(table, cell);
        float best = 0.5f * area(box);
        float bestArea = 0;
        for (int f : fills) {
            const float covered = area(fz_intersect_rect(box, shapes[f].box));
            const float size = area(shapes[f].box);
            if (covered > best + 0.5f || (cell.shading >= 0 && covered > best - 0.5f && size < bestArea)) {
                best = covered;
                bestArea = size;
                cell.shading = shapes[f].color;
            }
        }
    }
}

// Whether the region holds only what a table of shaded cells does: its fills, text confined to
// it, and no picture or drawing of another kind.
bool onlyTable(const QVector<Shape>& shapes, const QVector<int>& fills, const QVector<TextLine>& lines, const fz_rect& region)
{
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        if (shape.thin || fills.contains(i) || !centreInside(shape.box, region) || contains(shape.box, region))
            continue;
        return false;
    }
    for (const TextLine& line : lines) {
        if (line.glyphs.isEmpty() || !touches(line.box, region))
            continue;
        if (centreInside(line.box, region)) {
            // Text that reaches out of the fills is text they lie behind.
            if (std::max({region.x0 - line.box.x0, line.box.x1 - region.x1, 0.0f}) > layoutTuning().shadedTables.mostOverhang * line.size)
                return false;
        } else if (overlap(line.box.x0, line.box.x1, region.x0, region.x1) > 1
                   && overlap(line.box.y0, line.box.y1, region.y0, region.y1) > 0.5f * (line.box.y1 - line.box.y0)) {
            return false; // a line running into the region from outside
        }
    }
    return true;
}

// The table the fills and the text inside them make, or false when they make none.
bool buildTable(const QVector<Shape>& shapes, const QVector<int>& fills, const QVector<TextLine>& lines, FoundTable* table)
{
    fz_rect region = fz_empty_rect;
    int holdingText = 0;
    for (int f : fills) {
        region = fz_union_rect(region, shapes[f].box);
        holdingText += linesInside(lines, shapes[f].box).isEmpty() ? 0 : 1;
    }
    if (2 * holdingText < fills.size())
        return false;
    const fz_rect filled = region;
    region = withHeaderAbove(lines, withRowsBeside(lines, region));
    // Fewer fills are a tinted column of a table only with the rows beside it, a short entry a
    // row (a figure, a year).
    if (fills.size() < layoutTuning().shadedTables.leastFills) {
        const QVector<int> inside = linesInside(lines, filled);
        bool short_ = true;
        for (int i : inside)
            short_ = short_ && wordCount(lines[i]) <= layoutTuning().shadedTables.mostColumnWords;
        if (!short_ || textRows(lines, inside).size() < layoutTuning().shadedTables.leastColumnRows || (region.x0 == filled.x0 && region.x1 == filled.x1))
            return false;
    }
    if (!onlyTable(shapes, fills, lines, region))
        return false;
    const QVector<int> inside = linesInside(lines, region);
    const QVector<TextRow> rows = textRows(lines, inside);
    table->ruled = false;
    table->shaded = true;
    table->columns = columnEdges(shapes, fills, lines, rows, region);
    table->rows = rowEdges(shapes, fills, lines, rows, region);
    table->box = region;
    if (table->columns.size() < 3 || table->rows.size() < 3)
        return false;
    table->cells = gridCells(*table, shapes, fills, lines, inside);
    // Rows with text in two or more cells.
    int fullRows = 0;
    for (int r = 0; r + 1 < table->rows.size(); ++r) {
        int filled = 0;
        for (const FoundTable::Cell& cell : table->cells) {
            if (cell.row == r && !linesInside(lines, cellBox(*table, cell)).isEmpty())
                ++filled;
        }
        fullRows += filled >= 2 ? 1 : 0;
    }
    if (fullRows < layoutTuning().shadedTables.leastRows)
        return false;
    shadeCells(*table, shapes, fills);
    return true;
}

} // namespace

QVector<FoundTable> findShadedTables(QVector<Shape>& shapes, QVector<TextLine>& lines, fz_rect mediabox)
{
    const float pageArea = area(mediabox);
    QVector<int> tints;
    for (int i = 0; i < shapes.size(); ++i) {
        if (isTint(shapes[i], pageArea))
            tints.append(i);
    }
    if (tints.size() > kMostFills)
        return {};
    // A fill with others inside it is a box behind them (a panel), no cell.
    QVector<int> fills;
    for (int i : tints) {
        bool holds = false;
        for (int j : tints)
            holds = holds || (j != i && area(shapes[j].box) < area(shapes[i].box) && contains(shapes[i].box, shapes[j].box));
        if (!holds)
            fills.append(i);
    }
    QVector<FoundTable> tables;
    QVector<bool> used(shapes.size(), false);
    for (const QVector<int>& group : groupFills(shapes, fills)) {
        FoundTable table;
        if (!buildTable(shapes, group, lines, &table))
            continue;
        fillTableCells(table, lines);
        for (int f : group)
            used[f] = true;
        tables.append(table);
    }
    dropShapes(shapes, used);
    return tables;
}

void shadeRuledCells(QVector<FoundTable>& tables, QVector<Shape>& shapes, fz_rect mediabox)
{
    const float pageArea = area(mediabox);
    QVector<bool> used(shapes.size(), false);
    for (FoundTable& table : tables) {
        QVector<int> fills;
        for (int i = 0; i < shapes.size(); ++i) {
            if (isTint(shapes[i], pageArea) && contains(expanded(table.box, 1), shapes[i].box)) {
                fills.append(i);
                used[i] = true;
            }
        }
        shadeCells(table, shapes, fills);
    }
    dropShapes(shapes, used);
}

} // namespace p2w
