// Rows of side-by-side blocks of centred lines whose first lines share a baseline: the authors of
// a title block (name, affiliation, address, mail), signatures under a letter. Read by the column
// rules alone, what stands under such a row (a centred "Abstract" between two authors, the first
// column of the text under the second author) would be read between its blocks; a row is read as
// one piece instead, block by block from the left, after what stands above it and before what
// stands under it.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// Whether line continues previous down one block, whatever their alignment.
bool followsOn(const TextLine& previous, const TextLine& line)
{
    const float larger = std::max(previous.size, line.size);
    const float smaller = std::min(previous.size, line.size);
    const float drop = line.baseline - previous.baseline;
    return !line.vertical && overlapX(previous.box, line.box) && drop > layoutTuning().lines.leastDrop * smaller && drop < layoutTuning().blockRows.mostDrop * larger
           && smaller >= layoutTuning().blockRows.likeSizes * larger;
}

bool flush(const TextLine& a, const TextLine& b)
{
    return std::fabs(a.box.x0 - b.box.x0) < layoutTuning().blockRows.flushPoints || std::fabs(a.box.x1 - b.box.x1) < layoutTuning().blockRows.flushPoints;
}

bool flush(const TextLine& a, const TextLine& b, const TextLine& c)
{
    return (std::fabs(a.box.x0 - b.box.x0) < layoutTuning().blockRows.flushPoints && std::fabs(b.box.x0 - c.box.x0) < layoutTuning().blockRows.flushPoints)
           || (std::fabs(a.box.x1 - b.box.x1) < layoutTuning().blockRows.flushPoints && std::fabs(b.box.x1 - c.box.x1) < layoutTuning().blockRows.flushPoints);
}

bool onAxis(const TextLine& line, float axis)
{
    return std::fabs(middleX(line.box) - axis) <= std::max(layoutTuning().blockRows.axisPoints, layoutTuning().blockRows.axisShare * line.size);
}

struct Block
{
    QVector<int> lines; // top to bottom
    fz_rect box = fz_empty_rect;
};

// Runs of lines down a block centred on one axis, no three of them flush on one side.
QVector<Block> centredRuns(const QVector<TextLine>& lines)
{
    QVector<int> byBaseline;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].vertical)
            byBaseline.append(i);
    }
    std::sort(byBaseline.begin(), byBaseline.end(), [&](int a, int b) {
        return lines[a].baseline < lines[b].baseline || (lines[a].baseline == lines[b].baseline && lines[a].box.x0 < lines[b].box.x0);
    });
    QVector<Block> runs;
    QVector<int> open; // runs whose last line may still be followed
    for (int index : byBaseline) {
        const TextLine& line = lines[index];
        int best = -1;
        QVector<int> stillOpen;
        for (int r : open) {
            const TextLine& last = lines[runs[r].lines.back()];
            if (line.baseline - last.baseline >= layoutTuning().blockRows.mostDrop * last.size / layoutTuning().blockRows.likeSizes)
                continue; // too far above for this and every later line
            stillOpen.append(r);
            const QVector<int>& run = runs[r].lines;
            const bool aligned = run.size() >= 2 && flush(lines[run[run.size() - 2]], last, line);
            if (followsOn(last, line) && onAxis(line, middleX(lines[run.front()].box)) && !aligned
                && (best < 0 || last.baseline > lines[runs[best].lines.back()].baseline))
                best = r;
        }
        open = stillOpen;
        if (best < 0) {
            best = runs.size();
            runs.append(Block());
            open.append(best);
        }
        runs[best].lines.append(index);
        runs[best].box = fz_union_rect(runs[best].box, line.box);
    }
    // Last lines of a run that the next line continues flush on one side start a column of
    // running text (an abstract under an author set on the column's axis): no part of the run.
    for (Block& run : runs) {
        bool trimmed = false;
        while (run.lines.size() >= 2) {
            const TextLine& last = lines[run.lines.back()];
            bool startsText = false;
            for (int i = 0; i < lines.size() && !startsText; ++i)
                startsText = !run.lines.contains(i) && followsOn(last, lines[i]) && flush(last, lines[i]);
            if (!startsText)
                break;
            run.lines.removeLast();
            trimmed = true;
        }
        if (trimmed) {
            run.box = fz_empty_rect;
            for (int i : run.lines)
                run.box = fz_union_rect(run.box, lines[i].box);
        }
    }
    return runs;
}

bool isCentredBlock(const Block& run, const QVector<TextLine>& lines)
{
    if (run.lines.size() < 2 || run.lines.size() > layoutTuning().blockRows.mostBlockLines)
        return false;
    float narrowest = 1e9f;
    for (int i : run.lines)
        narrowest = std::min(narrowest, width(lines[i].box));
    return width(run.box) - narrowest > 2 * layoutTuning().blockRows.flushPoints;
}

// Whether the row may be read as one piece: what stands close above each of its blocks spans the
// row's middle, and no line under every block keeps to its width (a table's body under its head).
bool standsApart(const QVector<Block>& row, fz_rect box, const QVector<TextLine>& lines, const QVector<bool>& inRow,
                 const QVector<fz_rect>& obstacles)
{
    const float middle = middleX(box);
    int headsOfColumns = 0;
    for (const Block& block : row) {
        const float size = lines[block.lines.front()].size;
        fz_rect above = fz_empty_rect;
        fz_rect below = fz_empty_rect;
        auto look = [&](const fz_rect& other) {
            if (!overlapX(other, block.box))
                return;
            if (other.y1 <= block.box.y0 + 1 && (fz_is_empty_rect(above) || other.y1 > above.y1))
                above = other;
            if (other.y0 >= block.box.y1 - 1 && (fz_is_empty_rect(below) || other.y0 < below.y0))
                below = other;
        };
        for (int i = 0; i < lines.size(); ++i) {
            if (!inRow[i])
                look(lines[i].box);
        }
        for (const fz_rect& obstacle : obstacles)
            look(obstacle);
        if (!fz_is_empty_rect(above) && block.box.y0 - above.y1 < layoutTuning().blockRows.aboveGap * size && (above.x0 > middle || above.x1 < middle))
            return false;
        if (!fz_is_empty_rect(below) && below.y0 - block.box.y1 < layoutTuning().blockRows.belowGap * size && below.x0 > block.box.x0 - size
            && below.x1 < block.box.x1 + size)
            ++headsOfColumns;
    }
    return headsOfColumns < row.size();
}

} // namespace

QVector<FoundBlockRow> findBlockRows(QVector<TextLine>& lines, const QVector<fz_rect>& obstacles)
{
    const QVector<Block> runs = centredRuns(lines);
    QVector<int> blocks; // centred blocks, by their first baseline
    QVector<int> singles;
    for (int r = 0; r < runs.size(); ++r) {
        if (isCentredBlock(runs[r], lines))
            blocks.append(r);
        else if (runs[r].lines.size() == 1)
            singles.append(r);
    }
    auto firstLine = [&](int r) -> const TextLine& { return lines[runs[r].lines.front()]; };
    std::sort(blocks.begin(), blocks.end(), [&](int a, int b) { return firstLine(a).baseline < firstLine(b).baseline; });

    QVector<FoundBlockRow> rows;
    QVector<bool> inRow(lines.size(), false);
    QVector<bool> taken(runs.size(), false);
    for (int b = 0; b < blocks.size(); ++b) {
        if (taken[blocks[b]])
            continue;
        const TextLine& first = firstLine(blocks[b]);
        auto joins = [&](int r, const QVector<int>& members) {
            const TextLine& other = firstLine(r);
            if (taken[r] || std::fabs(other.baseline - first.baseline) > layoutTuning().blockRows.rowBaseline * std::min(first.size, other.size)
                || std::min(first.size, other.size) < layoutTuning().blockRows.likeSizes * std::max(first.size, other.size))
                return false;
            for (int m : members) {
                if (overlapX(runs[m].box, runs[r].box))
                    return false;
            }
            return true;
        };
        QVector<int> members = {blocks[b]};
        for (int c = b + 1; c < blocks.size(); ++c) {
            if (joins(blocks[c], members))
                members.append(blocks[c]);
        }
        if (members.size() < 2)
            continue;
        // A block of one line (an author without an affiliation) stands in the row too.
        for (int s : singles) {
            if (joins(s, members))
                members.append(s);
        }
        std::sort(members.begin(), members.end(), [&](int x, int y) { return runs[x].box.x0 < runs[y].box.x0; });
        QVector<Block> row;
        fz_rect box = fz_empty_rect;
        QVector<bool> marks = inRow;
        for (int m : members) {
            row.append(runs[m]);
            box = fz_union_rect(box, runs[m].box);
            for (int i : runs[m].lines)
                marks[i] = true;
        }
        if (!standsApart(row, box, lines, marks, obstacles))
            continue;
        inRow = marks;
        FoundBlockRow found;
        found.box = box;
        for (int m : members) {
            taken[m] = true;
            QVector<TextLine> blockLines;
            for (int i : runs[m].lines)
                blockLines.append(lines[i]);
            found.blocks.append(blockLines);
        }
        rows.append(found);
    }
    if (!rows.isEmpty()) {
        QVector<TextLine> kept;
        for (int i = 0; i < lines.size(); ++i) {
            if (!inRow[i])
                kept.append(lines[i]);
        }
        lines = kept;
    }
    return rows;
}

} // namespace p2w
