// Tables without rulings: rows of pieces of text (a line split at wide gaps) whose pieces keep to
// the same columns over several rows, as in a financial statement (labels, then figures
// right-aligned in columns), an infobox (labels and values) or a form's numbered lines. What only
// lines up like one is none: running text (its paragraphs beside an infobox, a page's columns),
// lists side by side, a table of contents with its leaders and display equations with their
// numbers; the last two keep each row as one line.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

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

// Which rows continue the table row above (a wrapped cell): the pieces of each table row, its top in tops.
QVector<QVector<int>> joinWrappedRows(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const QVector<int>& rowIndexes,
                                      float firstEdge, QVector<float>& tops)
{
    // A row's wrapped continuation belongs to it: close below, with pieces only right of the first
    // column (its edge firstEdge), or closer than the table's rows are apart with each piece under
    // one of the row's (a label wrapped in its cell).
    QVector<float> pitches;
    for (int k = 1; k < rowIndexes.size(); ++k)
        pitches.append(rows[rowIndexes[k]].baseline - rows[rowIndexes[k - 1]].baseline);
    std::sort(pitches.begin(), pitches.end());
    const float usualPitch = pitches.isEmpty() ? 0 : pitches[pitches.size() / 2];
    QVector<QVector<int>> tableRows;
    for (int k = 0; k < rowIndexes.size(); ++k) {
        const TextRow& row = rows[rowIndexes[k]];
        bool continues = false;
        if (k > 0) {
            const TextRow& previous = rows[rowIndexes[k - 1]];
            const float pitch = row.baseline - previous.baseline;
            bool rightOfFirst = true;
            bool under = true;
            for (int piece : row.lines) {
                rightOfFirst = rightOfFirst && lines[piece].box.x0 > firstEdge - 1;
                bool below = false;
                for (int above : previous.lines)
                    below = below || overlapX(lines[piece].box, lines[above].box);
                under = under && below;
            }
            continues = pitch < layoutTuning().lines.wrapPitch * row.size && (rightOfFirst || (under && pitch < layoutTuning().lines.wrapShare * usualPitch));
        }
        if (continues) {
            tableRows.back() += row.lines;
        } else {
            tableRows.append(row.lines);
            tops.append(row.top);
        }
    }
    return tableRows;
}

// A cell's lines in reading order, the pieces of one baseline joined into one line.
QVector<TextLine> cellContent(QVector<TextLine> cellLines)
{
    QVector<TextLine> content;
    QVector<TextLine> sameBaseline;
    std::stable_sort(cellLines.begin(), cellLines.end(),
                     [](const TextLine& a, const TextLine& b) { return a.baseline < b.baseline || (a.baseline == b.baseline && a.box.x0 < b.box.x0); });
    for (const TextLine& line : cellLines) {
        if (!sameBaseline.isEmpty() && std::fabs(line.baseline - sameBaseline.back().baseline) > layoutTuning().lines.sameRow * line.size) {
            content.append(joinedPieces(sameBaseline));
            sameBaseline.clear();
        }
        sameBaseline.append(line);
    }
    if (!sameBaseline.isEmpty())
        content.append(joinedPieces(sameBaseline));
    return content;
}

// Which column and span each piece of table row r takes: adds the row's cells, its pieces marked taken.
void addRowCells(FoundTable& table, int r, const QVector<int>& pieces, const QVector<TextLine>& lines, const QVector<Span>& columns,
                 QVector<bool>& taken)
{
    QVector<QVector<TextLine>> cellLines(columns.size());
    QVector<int> spans(columns.size(), 1);
    for (int piece : pieces) {
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
        const QVector<TextLine> content = cellContent(cellLines[c]);
        const fz_rect area = fz_make_rect(table.columns[c], table.rows[r], table.columns[c + cell.columnSpan], table.rows[r + 1]);
        cell.paragraphs = splitParagraphs(content, area, area);
        table.cells.append(cell);
        c += cell.columnSpan;
    }
}

// Which cells' paragraphs stand to the right: the figures of a column mostly of figures. The
// header's cells keep their alignment.
void alignFigureColumns(FoundTable& table, int columnCount, int headerRows)
{
    // Without rulings the cells' edges are not known: a column mostly of figures stands to the
    // right (a statement's amounts), the rest to the left (an infobox's values, a year among them).
    QVector<int> figures(columnCount, 0);
    QVector<int> filled(columnCount, 0);
    for (const FoundTable::Cell& cell : table.cells) {
        for (const LaidParagraph& paragraph : cell.paragraphs) {
            if (cell.row < headerRows)
                continue;
            ++filled[cell.column];
            figures[cell.column] += isFigure(paragraph) ? 1 : 0;
        }
    }
    for (FoundTable::Cell& cell : table.cells) {
        if (cell.row < headerRows)
            continue;
        const bool figureColumn = figures[cell.column] * 2 > filled[cell.column];
        for (LaidParagraph& paragraph : cell.paragraphs)
            paragraph.align = figureColumn && isFigure(paragraph) ? Align::Right : Align::Left;
    }
}

// A header over a table's columns: cells of pieces, rows of their own above the body's.
struct HeaderCell
{
    CellPlace place;
    QVector<int> pieces;
};
struct Header
{
    QVector<HeaderCell> cells;
    QVector<float> tops; // each header row's top
};

// The header's cells: pieces over the same columns, one under the other within a wrapped line's
// pitch, are one cell; in each column the cells over it stand in rows from the top, a column's
// last cell reaching down to the body. False where two cells would take one place.
bool placeHeader(const QVector<TextLine>& lines, QVector<int> pieces, const QHash<int, std::pair<int, int>>& spans, int columnCount,
                 Header* header)
{
    std::stable_sort(pieces.begin(), pieces.end(), [&](int a, int b) { return lines[a].baseline < lines[b].baseline; });
    struct Group
    {
        int first;
        int last;
        QVector<int> pieces;
        float top;
    };
    QVector<Group> groups;
    for (int piece : pieces) {
        const std::pair<int, int> hit = spans.value(piece);
        Group* joined = nullptr;
        for (Group& group : groups) {
            const TextLine& last = lines[group.pieces.back()];
            if (group.first == hit.first && group.last == hit.second
                && lines[piece].baseline - last.baseline < layoutTuning().lines.wrapPitch * std::max(last.size, lines[piece].size))
                joined = &group;
        }
        if (joined)
            joined->pieces.append(piece);
        else
            groups.append({hit.first, hit.second, {piece}, lines[piece].box.y0});
    }
    // Each group's row: below every group over one of its columns that starts higher.
    const int count = groups.size();
    QVector<int> rowOf(count, 0);
    QVector<int> order(count);
    for (int g = 0; g < count; ++g)
        order[g] = g;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return groups[a].top < groups[b].top; });
    int rows = 0;
    for (int k = 0; k < count; ++k) {
        const Group& group = groups[order[k]];
        for (int j = 0; j < k; ++j) {
            const Group& above = groups[order[j]];
            if (above.first <= group.last && group.first <= above.last)
                rowOf[order[k]] = std::max(rowOf[order[k]], rowOf[order[j]] + 1);
        }
        rows = std::max(rows, rowOf[order[k]] + 1);
    }
    QVector<bool> placed(rows * columnCount, false);
    header->tops = QVector<float>(rows, 1e9f);
    for (int g = 0; g < count; ++g) {
        const Group& group = groups[g];
        bool lowest = true; // no group under it over its columns
        for (int j = 0; j < count; ++j) {
            if (j != g && rowOf[j] > rowOf[g] && groups[j].first <= group.last && group.first <= groups[j].last)
                lowest = false;
        }
        HeaderCell cell;
        cell.place.row = rowOf[g];
        cell.place.column = group.first;
        cell.place.columnSpan = group.last - group.first + 1;
        cell.place.rowSpan = lowest ? rows - rowOf[g] : 1;
        cell.pieces = group.pieces;
        for (int r = cell.place.row; r < cell.place.row + cell.place.rowSpan; ++r) {
            for (int c = group.first; c <= group.last; ++c) {
                if (placed[r * columnCount + c])
                    return false;
                placed[r * columnCount + c] = true;
            }
        }
        header->tops[rowOf[g]] = std::min(header->tops[rowOf[g]], group.top);
        header->cells.append(cell);
    }
    for (int r = 1; r < rows; ++r)
        header->tops[r] = std::max(header->tops[r], header->tops[r - 1] + 1);
    std::sort(header->cells.begin(), header->cells.end(), [](const HeaderCell& a, const HeaderCell& b) {
        return a.place.row < b.place.row || (a.place.row == b.place.row && a.place.column < b.place.column);
    });
    return true;
}

// The header over a table whose first row is rows[first]: the rows right above it (each within a
// blank row's gap of the next) of short pieces centred within the table's width, none taken,
// from the highest row of two pieces or more down (a title above stays out); a piece over one
// column widens it, a piece over several spans them. Empty where there is none or it cannot be
// placed.
Header headerAbove(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const QVector<bool>& taken, int first,
                   QVector<Span>& columns)
{
    const float left = columns.front().x0;
    const float right = columns.back().x1;
    QVector<int> above; // rows, bottom up
    float top = rows[first].top;
    for (int r = first - 1; r >= 0; --r) {
        const TextRow& row = rows[r];
        if (top - row.bottom > layoutTuning().textTables.mostRowGap * row.size)
            break;
        bool fits = true;
        for (int piece : row.lines) {
            const TextLine& line = lines[piece];
            fits = fits && !taken[piece] && wordCount(line) <= layoutTuning().textTables.mostLabelWords && middleX(line.box) >= left - line.size
                   && middleX(line.box) <= right + line.size;
        }
        if (!fits)
            break;
        above.append(r);
        top = row.top;
    }
    while (!above.isEmpty() && rows[above.back()].lines.size() < 2)
        above.removeLast();
    Header header;
    if (above.isEmpty())
        return header;
    // The rows nearest the body first: their pieces over one column widen it, so that a piece
    // above them finds the columns it stands over; a piece centred over the gutter between two
    // columns (a year over its figures and shares) spans both.
    QVector<int> pieces;
    for (int r : above)
        pieces += rows[r].lines;
    QVector<Span> widened = columns;
    QHash<int, std::pair<int, int>> spans;
    for (int piece : pieces) {
        const fz_rect box = lines[piece].box;
        const float middle = middleX(box);
        for (int c = 0; c + 1 < widened.size(); ++c) {
            if (middle > widened[c].x1 && middle < widened[c + 1].x0 && box.x0 < widened[c + 1].x0 && box.x1 > widened[c].x1)
                spans.insert(piece, {c, c + 1});
        }
        const QVector<int> hit = columnsOf(widened, box);
        if (hit.isEmpty() && !spans.contains(piece))
            return Header();
        if (spans.contains(piece) || hit.size() > 1) {
            if (!spans.contains(piece))
                spans.insert(piece, {hit.front(), hit.back()});
            continue;
        }
        const Span grown{std::min(widened[hit.front()].x0, box.x0), std::max(widened[hit.front()].x1, box.x1)};
        bool apart = true;
        for (int c = 0; c < widened.size(); ++c)
            apart = apart && (c == hit.front() || std::min(widened[c].x1, grown.x1) <= std::max(widened[c].x0, grown.x0));
        if (apart)
            widened[hit.front()] = grown;
        spans.insert(piece, {hit.front(), hit.front()});
    }
    if (!placeHeader(lines, pieces, spans, widened.size(), &header))
        return Header();
    columns = widened;
    return header;
}

// Builds the table of the header and the rows given (top to bottom) over the columns, its
// pieces' lines marked taken.
FoundTable buildTable(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const Header& header, const QVector<int>& rowIndexes,
                      const QVector<Span>& columns, QVector<bool>& taken)
{
    FoundTable table;
    table.ruled = false;
    // Column edges halfway across each gutter.
    table.columns.append(columns.front().x0);
    for (int c = 1; c < columns.size(); ++c)
        table.columns.append((columns[c - 1].x1 + columns[c].x0) / 2);
    table.columns.append(columns.back().x1);
    QVector<float> tops = header.tops;
    const QVector<QVector<int>> tableRows = joinWrappedRows(lines, rows, rowIndexes, table.columns[1], tops);
    table.rows = tops;
    table.rows.append(rows[rowIndexes.back()].bottom);
    const int headerRows = header.tops.size();
    for (const HeaderCell& cell : header.cells) {
        QVector<TextLine> cellLines;
        for (int piece : cell.pieces) {
            cellLines.append(lines[piece]);
            taken[piece] = true;
        }
        FoundTable::Cell found;
        static_cast<CellPlace&>(found) = cell.place;
        const fz_rect area = fz_make_rect(table.columns[cell.place.column], table.rows[cell.place.row],
                                          table.columns[cell.place.column + cell.place.columnSpan],
                                          table.rows[cell.place.row + cell.place.rowSpan]);
        found.paragraphs = splitParagraphs(cellContent(cellLines), area, area);
        table.cells.append(found);
    }
    for (int r = 0; r < tableRows.size(); ++r)
        addRowCells(table, headerRows + r, tableRows[r], lines, columns, taken);
    alignFigureColumns(table, columns.size(), headerRows);
    table.box = fz_make_rect(table.columns.front(), table.rows.front(), table.columns.back(), table.rows.back());
    return table;
}

// The rows of pieces, top to bottom, each left to right; running text stays out.
QVector<TextRow> rowsOf(const QVector<TextLine>& lines, const QVector<bool>& running)
{
    QVector<int> which;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].vertical && !lines[i].glyphs.isEmpty() && !running[i])
            which.append(i);
    }
    return textRows(lines, which);
}

// Rows from `start` down that keep to the columns of its pieces.
struct Candidate
{
    QVector<Span> columns;
    QVector<int> rows; // the rows it takes, top to bottom
};

// Whether a line of running text lies across the columns between two rows (or in the second):
// a paragraph between two rows ends the table above it.
bool runningTextBetween(const QVector<fz_rect>& running, const QVector<Span>& columns, float from, float to)
{
    for (const fz_rect& box : running) {
        if (box.y1 > from && box.y0 < to && box.x1 > columns.front().x0 && box.x0 < columns.back().x1)
            return true;
    }
    return false;
}

Candidate growTable(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const QVector<fz_rect>& running, int start)
{
    Candidate candidate;
    for (int piece : rows[start].lines)
        addToColumns(candidate.columns, lines[piece].box);
    candidate.rows.append(start);
    int lastMulti = 0; // in candidate.rows
    float bottom = rows[start].bottom;
    for (int r = start + 1; r < rows.size(); ++r) {
        const TextRow& row = rows[r];
        if (row.top - bottom > layoutTuning().textTables.mostRowGap * row.size || runningTextBetween(running, candidate.columns, bottom, row.bottom))
            break;
        QVector<Span> grown = candidate.columns;
        bool fits = true;
        if (row.lines.size() == 1) {
            // A line beside the table (a heading of the text it stands in) is not its row; a
            // section's label, a spanning heading or a wrapped line within it stays in.
            const TextLine& line = lines[row.lines.front()];
            if (line.box.x1 <= grown.front().x0 || line.box.x0 >= grown.back().x1)
                continue;
            fits = wordCount(line) <= layoutTuning().textTables.mostLabelWords || columnsOf(grown, line.box).size() == 1;
        } else {
            for (int piece : row.lines)
                fits = fits && addToColumns(grown, lines[piece].box);
        }
        if (!fits)
            break;
        candidate.columns = grown;
        candidate.rows.append(r);
        bottom = row.bottom;
        if (row.lines.size() >= 2)
            lastMulti = candidate.rows.size() - 1;
    }
    candidate.rows.resize(lastMulti + 1); // a table ends with a row of its columns
    return candidate;
}

// The pieces of each column of the candidate (a piece across columns in none).
QVector<QVector<int>> columnPieces(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const Candidate& candidate)
{
    QVector<QVector<int>> pieces(candidate.columns.size());
    for (int r : candidate.rows) {
        for (int piece : rows[r].lines) {
            const QVector<int> hit = columnsOf(candidate.columns, lines[piece].box);
            if (hit.size() == 1)
                pieces[hit.front()].append(piece);
        }
    }
    return pieces;
}

// The columns the pieces of the rows given make, rows of two pieces or more.
QVector<Span> columnsOfRows(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const QVector<int>& which)
{
    QVector<Span> columns;
    for (int r : which) {
        if (rows[r].lines.size() < 2)
            continue;
        for (int piece : rows[r].lines)
            addToColumns(columns, lines[piece].box);
    }
    return columns;
}

// The candidate without the rows a table below took into its header, its columns those of the
// rows left.
Candidate withoutTaken(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const Candidate& candidate, const QVector<bool>& taken)
{
    Candidate left;
    for (int r : candidate.rows) {
        bool free = true;
        for (int piece : rows[r].lines)
            free = free && !taken[piece];
        if (free)
            left.rows.append(r);
    }
    if (left.rows.size() == candidate.rows.size())
        return candidate;
    left.columns = columnsOfRows(lines, rows, left.rows);
    return left;
}

// The candidate's body: from its first row with as many pieces as its fullest row (the rows above
// with fewer, a header's years over their figures, are its header's), with the columns of its rows.
Candidate bodyOf(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const Candidate& candidate)
{
    int most = 0;
    for (int r : candidate.rows)
        most = std::max(most, int(rows[r].lines.size()));
    int first = 0;
    while (first < candidate.rows.size() && rows[candidate.rows[first]].lines.size() < most)
        ++first;
    if (first == 0)
        return candidate;
    Candidate body;
    body.rows = candidate.rows.mid(first);
    body.columns = columnsOfRows(lines, rows, body.rows);
    return body;
}

enum class Kind {
    Table,
    NoTable,    // lines that only line up: left as they are
    LinesOfOne, // a table of contents or display equations: each row is one line
};

Kind kindOf(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const Candidate& candidate)
{
    int multiRows = 0;
    for (int r : candidate.rows)
        multiRows += rows[r].lines.size() >= 2 ? 1 : 0;
    if (multiRows < layoutTuning().textTables.leastRows || candidate.columns.size() < 2)
        return Kind::NoTable;
    const QVector<QVector<int>> pieces = columnPieces(lines, rows, candidate);
    // Leaders (". . . . .") lead from a heading to its page: a table of contents.
    int leaders = 0;
    for (int r : candidate.rows) {
        for (int piece : rows[r].lines)
            leaders += hasLeader(lines[piece]) ? 1 : 0;
    }
    if (leaders >= layoutTuning().textTables.leastRows)
        return Kind::LinesOfOne;
    // A column of numbers in brackets at the right: display equations.
    static const QRegularExpression equationNumber(QStringLiteral("^\\(\\d+(\\.\\d+)*[a-z]?\\)$"));
    bool numbered = !pieces.back().isEmpty();
    for (int piece : pieces.back())
        numbered = numbered && equationNumber.match(lines[piece].text()).hasMatch();
    if (numbered)
        return Kind::LinesOfOne;
    // Running text in columns: every column holds sentences. Lists side by side: a column of
    // bullets.
    bool prose = true;
    for (const QVector<int>& column : pieces) {
        int words = 0;
        int bullets = 0;
        for (int piece : column) {
            words += wordCount(lines[piece]);
            bullets += startsWithBullet(lines[piece]) ? 1 : 0;
        }
        prose = prose && !column.isEmpty() && words >= layoutTuning().lines.proseWords * column.size();
        if (!column.isEmpty() && 2 * bullets >= column.size())
            return Kind::NoTable;
    }
    return prose ? Kind::NoTable : Kind::Table;
}

} // namespace

QVector<FoundTable> findTextTables(QVector<TextLine>& lines)
{
    const QVector<bool> running = runningTextLines(lines);
    QVector<fz_rect> runningBoxes;
    for (int i = 0; i < lines.size(); ++i) {
        if (running[i])
            runningBoxes.append(lines[i].box);
    }
    const QVector<TextRow> rows = rowsOf(lines, running);
    QVector<FoundTable> tables;
    QVector<bool> taken(lines.size(), false);
    QVector<TextLine> joined;
    QVector<Candidate> found;
    int start = 0;
    while (start < rows.size()) {
        if (rows[start].lines.size() < 2) {
            ++start;
            continue;
        }
        const Candidate candidate = growTable(lines, rows, runningBoxes, start);
        switch (kindOf(lines, rows, candidate)) {
        case Kind::Table:
            found.append(candidate);
            break;
        case Kind::LinesOfOne:
            for (int r : candidate.rows) {
                QVector<TextLine> pieces;
                for (int piece : rows[r].lines) {
                    pieces.append(lines[piece]);
                    taken[piece] = true;
                }
                joined.append(joinedPieces(pieces));
                joined.back().alone = true;
            }
            break;
        case Kind::NoTable:
            break;
        }
        start = candidate.rows.back() + 1;
    }
    // From the bottom up: a table's header may be rows that lined up as a table of their own.
    for (int k = found.size() - 1; k >= 0; --k) {
        Candidate candidate = withoutTaken(lines, rows, found[k], taken);
        if (kindOf(lines, rows, candidate) != Kind::Table)
            continue;
        const Candidate body = bodyOf(lines, rows, candidate);
        QVector<Span> columns = body.columns;
        const Header header = headerAbove(lines, rows, taken, body.rows.front(), columns);
        if (header.cells.isEmpty())
            tables.prepend(buildTable(lines, rows, header, candidate.rows, candidate.columns, taken));
        else
            tables.prepend(buildTable(lines, rows, header, body.rows, columns, taken));
    }
    QVector<TextLine> kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (!taken[i])
            kept.append(lines[i]);
    }
    lines = kept + joined;
    return tables;
}

} // namespace p2w
