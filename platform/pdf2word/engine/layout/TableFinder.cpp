// Ruled tables: the horizontal and vertical rulings of a page joined into grids; each grid whose
// cells hold text becomes a table, and the text inside it goes to its cells.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/model/UnionFind.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

struct Segment
{
    float at;   // y of a horizontal ruling, x of a vertical one
    float from; // along the ruling
    float to;
};

// Joins rulings that continue one another (a row's border drawn cell by cell).
QVector<Segment> joinSegments(QVector<Segment> segments)
{
    std::sort(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) {
        return a.at < b.at - layoutTuning().ruledTables.snap / 2 || (std::fabs(a.at - b.at) <= layoutTuning().ruledTables.snap / 2 && a.from < b.from);
    });
    QVector<Segment> joined;
    for (const Segment& segment : segments) {
        // Only where the two meet: a bar's edge near a far-off column ruling is another line.
        if (!joined.isEmpty() && std::fabs(joined.back().at - segment.at) <= layoutTuning().ruledTables.snap && segment.from <= joined.back().to + layoutTuning().ruledTables.reach
            && segment.to >= joined.back().from - layoutTuning().ruledTables.reach) {
            joined.back().from = std::min(joined.back().from, segment.from);
            joined.back().to = std::max(joined.back().to, segment.to);
            continue;
        }
        joined.append(segment);
    }
    QVector<Segment> kept;
    for (const Segment& segment : joined) {
        if (segment.to - segment.from >= layoutTuning().ruledTables.shortest)
            kept.append(segment);
    }
    return kept;
}

bool crosses(const Segment& horizontal, const Segment& vertical)
{
    return vertical.at >= horizontal.from - layoutTuning().ruledTables.reach && vertical.at <= horizontal.to + layoutTuning().ruledTables.reach
           && horizontal.at >= vertical.from - layoutTuning().ruledTables.reach && horizontal.at <= vertical.to + layoutTuning().ruledTables.reach;
}

// Positions closer than ruledTables.snap become one (their mean).
QVector<float> snap(QVector<float> values)
{
    std::sort(values.begin(), values.end());
    QVector<float> result;
    int count = 0;
    for (float value : values) {
        if (!result.isEmpty() && value - result.back() <= layoutTuning().ruledTables.snap) {
            result.back() = (result.back() * count + value) / (count + 1);
            ++count;
        } else {
            result.append(value);
            count = 1;
        }
    }
    return result;
}

// Whether some ruling of the list runs along `at` through the point `across`.
bool ruled(const QVector<Segment>& segments, float at, float across)
{
    for (const Segment& segment : segments) {
        if (std::fabs(segment.at - at) <= layoutTuning().ruledTables.snap + 1 && across >= segment.from - 1 && across <= segment.to + 1)
            return true;
    }
    return false;
}

int indexOf(const QVector<float>& edges, float value)
{
    for (int i = 0; i + 1 < edges.size(); ++i) {
        if (value >= edges[i] && value < edges[i + 1])
            return i;
    }
    return -1;
}

struct Grid
{
    QVector<Segment> horizontals;
    QVector<Segment> verticals;
};

bool buildTable(const Grid& grid, FoundTable* table)
{
    QVector<float> xs;
    QVector<float> ys;
    float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    for (const Segment& h : grid.horizontals) {
        ys.append(h.at);
        left = std::min(left, h.from);
        right = std::max(right, h.to);
    }
    for (const Segment& v : grid.verticals) {
        xs.append(v.at);
        top = std::min(top, v.from);
        bottom = std::max(bottom, v.to);
    }
    // Tables without outer borders: the rulings' ends close the grid.
    xs.append(left);
    xs.append(right);
    ys.append(top);
    ys.append(bottom);
    xs = snap(xs);
    ys = snap(ys);
    auto thin = [](QVector<float> edges) {
        QVector<float> kept;
        for (float edge : edges) {
            if (kept.isEmpty() || edge - kept.back() >= layoutTuning().ruledTables.doubleBorder)
                kept.append(edge);
        }
        return kept;
    };
    xs = thin(xs);
    ys = thin(ys);
    const int columns = xs.size() - 1;
    const int rows = ys.size() - 1;
    if (columns < 2 || rows < 1)
        return false;
    table->columns = xs;
    table->rows = ys;
    table->box = fz_make_rect(xs.first(), ys.first(), xs.last(), ys.last());
    QVector<bool> taken(rows * columns, false);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (taken[r * columns + c])
                continue;
            FoundTable::Cell cell;
            cell.row = r;
            cell.column = c;
            const float middleY = (ys[r] + ys[r + 1]) / 2;
            while (c + cell.columnSpan < columns && !ruled(grid.verticals, xs[c + cell.columnSpan], middleY))
                ++cell.columnSpan;
            auto openBelow = [&](int row) {
                for (int k = c; k < c + cell.columnSpan; ++k) {
                    if (ruled(grid.horizontals, ys[row + 1], (xs[k] + xs[k + 1]) / 2) || taken[(row + 1) * columns + k])
                        return false;
                }
                return true;
            };
            while (r + cell.rowSpan < rows && openBelow(r + cell.rowSpan - 1))
                ++cell.rowSpan;
            for (int rr = r; rr < r + cell.rowSpan; ++rr) {
                for (int cc = c; cc < c + cell.columnSpan; ++cc)
                    taken[rr * columns + cc] = true;
            }
            table->cells.append(cell);
        }
    }
    return table->cells.size() >= 2;
}

bool onEdge(float value, const QVector<float>& edges)
{
    for (float edge : edges) {
        if (std::fabs(value - edge) <= layoutTuning().ruledTables.snap + 1)
            return true;
    }
    return false;
}

// Whether a fill lies inside one cell of the grid and is that cell's background: it holds the
// cell's text (a paragraph shaded inside a shaded cell), or lies on a fill of its own colour that
// does (a word processor shades a cell and its paragraph alike).
bool inOneCell(const FoundTable& table, const fz_rect& box)
{
    for (const FoundTable::Cell& cell : table.cells) {
        const fz_rect area = fz_make_rect(table.columns[cell.column], table.rows[cell.row], table.columns[cell.column + cell.columnSpan],
                                          table.rows[cell.row + cell.rowSpan]);
        if (contains(expanded(area, layoutTuning().ruledTables.snap), box))
            return true;
    }
    return false;
}

bool fillsOneCell(const FoundTable& table, const Shape& shape, const QVector<Shape>& shapes, const QVector<TextLine>& lines)
{
    if (shape.kind != Shape::Path || !shape.rectangle || !shape.filled || !inOneCell(table, shape.box))
        return false;
    for (const TextLine& line : lines) {
        if (!line.glyphs.isEmpty() && centreInside(line.box, shape.box))
            return true;
    }
    for (const Shape& under : shapes) {
        if (&under != &shape && under.filled && under.rectangle && under.color == shape.color && contains(under.box, shape.box)
            && area(under.box) > area(shape.box))
            return true;
    }
    return false;
}

// Whether something drawn inside the grid is foreign to a table: a chart's bars or curves, a
// picture. Fills that lie on the grid's lines (shaded cells or rows) or behind a cell's text
// belong to the table. A grid that an arrow or a curve touches is a diagram's boxes and
// connectors.
bool holdsDrawing(const FoundTable& table, const QVector<Shape>& shapes, const QVector<TextLine>& lines)
{
    for (const Shape& shape : shapes) {
        // A connector is narrow (an arrow's shaft or head); a seal stamped over the table's edge
        // is not.
        if (shape.kind == Shape::Path && !shape.rectangle && !shape.thin && touches(expanded(table.box, layoutTuning().ruledTables.reach), shape.box)
            && std::min(width(shape.box), shape.box.y1 - shape.box.y0) <= layoutTuning().ruledTables.widestConnector)
            return true;
        if (shape.thin)
            continue;
        const fz_rect box = shape.box;
        const float x = (box.x0 + box.x1) / 2;
        const float y = (box.y0 + box.y1) / 2;
        if (x <= table.box.x0 || x >= table.box.x1 || y <= table.box.y0 || y >= table.box.y1)
            continue;
        const bool onGrid = shape.kind == Shape::Path && onEdge(box.x0, table.columns) && onEdge(box.x1, table.columns)
                            && onEdge(box.y0, table.rows) && onEdge(box.y1, table.rows);
        // A small mark drawn in the table (a symbol beside a cell's text) is the table's.
        const bool symbol = shape.kind == Shape::Path && !shape.filled && !shape.rectangle && width(box) <= layoutTuning().ruledTables.largestSymbol
                            && box.y1 - box.y0 <= layoutTuning().ruledTables.largestSymbol;
        if (!onGrid && !symbol && !fillsOneCell(table, shape, shapes, lines))
            return true;
    }
    return false;
}

// Whether a grid filled with its text is a chart's: bars drawn on it, and most of its cells empty
// (a form's empty boxes hold no fills).
bool isChart(const FoundTable& table, const QVector<Shape>& shapes)
{
    int holding = 0;
    for (const FoundTable::Cell& cell : table.cells)
        holding += cell.paragraphs.isEmpty() ? 0 : 1;
    if (holding >= layoutTuning().ruledTables.leastHoldingShare * table.cells.size())
        return false;
    for (const Shape& shape : shapes) {
        if (shape.kind == Shape::Path && shape.filled && !shape.thin && centreInside(shape.box, table.box)
            && area(shape.box) < area(table.box) / 2)
            return true;
    }
    return false;
}

} // namespace

// A grid without text is an empty table (a form).
void fillTableCells(FoundTable& table, QVector<TextLine>& lines)
{
    const int columns = table.columns.size() - 1;
    QVector<int> cellAt((table.rows.size() - 1) * columns, -1);
    for (int i = 0; i < table.cells.size(); ++i) {
        const FoundTable::Cell& cell = table.cells[i];
        for (int r = cell.row; r < cell.row + cell.rowSpan; ++r) {
            for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
                cellAt[r * columns + c] = i;
        }
    }
    QVector<QVector<TextLine>> cellLines(table.cells.size());
    QVector<TextLine> outside;
    for (const TextLine& line : lines) {
        const fz_rect box = line.box;
        if (box.x1 < table.box.x0 || box.x0 > table.box.x1 || box.y1 < table.box.y0 || box.y0 > table.box.y1) {
            outside.append(line);
            continue;
        }
        QVector<TextLine> pieces(table.cells.size());
        TextLine rest;
        rest.vertical = line.vertical;
        rest.rtl = line.rtl;
        for (const Glyph& glyph : line.glyphs) {
            const int row = indexOf(table.rows, (glyph.box.y0 + glyph.box.y1) / 2);
            const int column = indexOf(table.columns, (glyph.box.x0 + glyph.box.x1) / 2);
            const int cell = row < 0 || column < 0 ? -1 : cellAt[row * columns + column];
            TextLine& target = cell < 0 ? rest : pieces[cell];
            target.vertical = line.vertical;
            target.rtl = line.rtl;
            target.glyphs.append(glyph);
        }
        for (int i = 0; i < pieces.size(); ++i) {
            if (!pieces[i].glyphs.isEmpty())
                cellLines[i].append(pieces[i]);
        }
        if (!rest.glyphs.isEmpty())
            outside.append(rest);
    }
    for (int i = 0; i < table.cells.size(); ++i) {
        QVector<TextLine>& content = cellLines[i];
        for (TextLine& piece : content) {
            // A piece cut from a longer line loses the spaces at its ends.
            while (!piece.glyphs.isEmpty() && piece.glyphs.front().isSpace())
                piece.glyphs.removeFirst();
            while (!piece.glyphs.isEmpty() && piece.glyphs.back().isSpace())
                piece.glyphs.removeLast();
            piece.measure();
        }
        content.erase(std::remove_if(content.begin(), content.end(), [](const TextLine& l) { return l.glyphs.isEmpty(); }),
                      content.end());
        std::stable_sort(content.begin(), content.end(),
                         [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline; });
        const FoundTable::Cell& cell = table.cells[i];
        const fz_rect area = fz_make_rect(table.columns[cell.column], table.rows[cell.row],
                                          table.columns[cell.column + cell.columnSpan], table.rows[cell.row + cell.rowSpan]);
        table.cells[i].paragraphs = splitParagraphs(content, area, area);
    }
    for (TextLine& line : outside)
        line.measure();
    lines = outside;
}

QVector<FoundTable> findTables(const PageGraphics& graphics, QVector<TextLine>& lines)
{
    const QVector<Rule>& rules = graphics.rules;
    QVector<Segment> horizontals;
    QVector<Segment> verticals;
    for (const Rule& rule : rules) {
        if (rule.horizontal())
            horizontals.append({(rule.y0 + rule.y1) / 2, rule.x0, rule.x1});
        else
            verticals.append({(rule.x0 + rule.x1) / 2, rule.y0, rule.y1});
    }
    horizontals = joinSegments(horizontals);
    verticals = joinSegments(verticals);
    QVector<FoundTable> tables;
    if (horizontals.isEmpty() || verticals.isEmpty())
        return tables;

    // Rulings that cross one another belong to one grid.
    const int count = horizontals.size() + verticals.size();
    QVector<int> parent = separateGroups(count);
    for (int h = 0; h < horizontals.size(); ++h) {
        for (int v = 0; v < verticals.size(); ++v) {
            if (crosses(horizontals[h], verticals[v]))
                joinGroups(parent, h, horizontals.size() + v);
        }
    }
    QVector<Grid> grids;
    for (const QVector<int>& group : groupsInOrder(parent)) {
        Grid grid;
        for (int i : group) {
            if (i < horizontals.size())
                grid.horizontals.append(horizontals[i]);
            else
                grid.verticals.append(verticals[i - horizontals.size()]);
        }
        grids.append(grid);
    }
    for (const Grid& grid : grids) {
        if (grid.horizontals.size() < 2 || grid.verticals.isEmpty())
            continue;
        FoundTable table;
        if (!buildTable(grid, &table) || holdsDrawing(table, graphics.shapes, lines))
            continue;
        QVector<TextLine> left = lines;
        fillTableCells(table, left);
        if (isChart(table, graphics.shapes))
            continue;
        lines = left;
        splitCellsByText(table);
        tables.append(table);
    }
    std::sort(tables.begin(), tables.end(), [](const FoundTable& a, const FoundTable& b) { return a.box.y0 < b.box.y0; });
    return tables;
}

} // namespace p2w
