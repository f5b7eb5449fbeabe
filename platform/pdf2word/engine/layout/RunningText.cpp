#include "platform/pdf2word/engine/layout/RunningText.h"

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// The rows of all the page's horizontal lines.
QVector<TextRow> rowsOf(const QVector<TextLine>& lines)
{
    QVector<int> which;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].vertical && !lines[i].glyphs.isEmpty())
            which.append(i);
    }
    return textRows(lines, which);
}

bool likeSizes(const TextLine& a, const TextLine& b)
{
    return std::fabs(a.size - b.size) <= layoutTuning().runningText.sameSize * std::max(a.size, b.size);
}

// The pieces of row, not yet gone into another line, that make up one justified line as wide as
// `line` (a line of the row above or below): from its left edge (or a first line's indent) to
// its right edge, apart by word gaps.
QVector<int> piecesAlong(const QVector<TextLine>& lines, const TextRow& row, const TextLine& line, const QVector<bool>& gone)
{
    QVector<int> run;
    for (int i : row.lines) {
        const TextLine& piece = lines[i];
        if (gone[i] || piece.box.x0 < line.box.x0 - layoutTuning().runningText.sameEdge || piece.box.x1 > line.box.x1 + layoutTuning().runningText.sameEdge)
            continue;
        if (!likeSizes(piece, line) || piece.rtl != line.rtl || piece.monospace)
            return {};
        if (!run.isEmpty() && piece.box.x0 - lines[run.back()].box.x1 > layoutTuning().runningText.widestWordGap * piece.size)
            return {};
        run.append(i);
    }
    if (run.size() < 2)
        return {};
    const fz_rect first = lines[run.front()].box;
    const fz_rect last = lines[run.back()].box;
    const bool fromEdge = first.x0 <= line.box.x0 + layoutTuning().runningText.mostIndent * line.size;
    return fromEdge && std::fabs(last.x1 - line.box.x1) <= layoutTuning().runningText.sameEdge ? run : QVector<int>();
}

// Whether the piece is symbols (no letters) that stand in the line's gaps, none over a glyph of
// the line.
bool fitsBetween(const TextLine& line, const TextLine& piece)
{
    for (const Glyph& inner : piece.glyphs) {
        if (QChar::isLetter(inner.c))
            return false;
        for (const Glyph& glyph : line.glyphs) {
            const float shared = std::min(inner.box.x1, glyph.box.x1) - std::max(inner.box.x0, glyph.box.x0);
            if (!inner.isSpace() && !glyph.isSpace() && shared > 0.5f * std::min(width(inner.box), width(glyph.box)))
                return false;
        }
    }
    return true;
}

} // namespace

QVector<TextRow> textRows(const QVector<TextLine>& lines, const QVector<int>& which)
{
    QVector<int> order = which;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lines[a].baseline < lines[b].baseline; });
    QVector<TextRow> rows;
    for (int i : order) {
        const TextLine& line = lines[i];
        if (rows.isEmpty() || line.baseline - rows.back().baseline > layoutTuning().lines.sameRow * std::max(line.size, rows.back().size)) {
            TextRow row;
            row.baseline = line.baseline;
            row.top = line.box.y0;
            row.bottom = line.box.y1;
            rows.append(row);
        }
        TextRow& row = rows.back();
        row.lines.append(i);
        row.top = std::min(row.top, line.box.y0);
        row.bottom = std::max(row.bottom, line.box.y1);
        row.size = std::max(row.size, line.size);
    }
    for (TextRow& row : rows)
        std::stable_sort(row.lines.begin(), row.lines.end(), [&](int a, int b) { return lines[a].box.x0 < lines[b].box.x0; });
    return rows;
}

TextLine joinedPieces(const QVector<TextLine>& pieces)
{
    TextLine line;
    for (const TextLine& piece : pieces) {
        if (!line.glyphs.isEmpty() && piece.box.x0 < line.box.x1 && piece.box.x1 <= line.box.x1 + 1 && fitsBetween(line, piece)) {
            // Symbols in the gaps of the line (a formula's, in a font of their own): their
            // glyphs in the order they stand. Pieces that only touch are words apart.
            line.glyphs += piece.glyphs;
            std::stable_sort(line.glyphs.begin(), line.glyphs.end(),
                             [](const Glyph& a, const Glyph& b) { return a.box.x0 + a.box.x1 < b.box.x0 + b.box.x1; });
        } else {
            if (!line.glyphs.isEmpty()) {
                Glyph space = piece.glyphs.front();
                space.c = U' ';
                space.look = -1;
                space.box.x1 = space.box.x0;
                space.box.x0 = line.glyphs.back().box.x1;
                line.glyphs.append(space);
            }
            line.glyphs += piece.glyphs;
        }
        line.rtl = line.rtl || piece.rtl;
        line.monospace = piece.monospace;
        line.measure();
    }
    return line;
}

void joinSplitLines(QVector<TextLine>& lines)
{
    const QVector<TextRow> rows = rowsOf(lines);
    QVector<bool> gone(lines.size(), false);
    QVector<TextLine> joined;
    for (int r = 0; r < rows.size(); ++r) {
        if (rows[r].lines.size() < 2)
            continue;
        // A whole line of the paragraph right above or below shows the line's width (rows of
        // other columns may stand between); each column's line of the row apart.
        for (int step : {-1, 1}) {
            for (int n = r + step; n >= 0 && n < rows.size(); n += step) {
                const float pitch = std::fabs(rows[n].baseline - rows[r].baseline);
                if (pitch > layoutTuning().runningText.mostPitch * rows[r].size)
                    break;
                if (pitch < layoutTuning().runningText.leastPitch * rows[r].size)
                    continue;
                for (int i : rows[n].lines) {
                    const QVector<int> run = piecesAlong(lines, rows[r], lines[i], gone);
                    if (run.isEmpty())
                        continue;
                    QVector<TextLine> pieces;
                    for (int piece : run) {
                        pieces.append(lines[piece]);
                        gone[piece] = true;
                    }
                    joined.append(joinedPieces(pieces));
                }
            }
        }
    }
    if (joined.isEmpty())
        return;
    QVector<TextLine> kept;
    for (int i = 0; i < lines.size(); ++i) {
        if (!gone[i])
            kept.append(lines[i]);
    }
    lines = kept + joined;
}

QVector<bool> runningTextLines(const QVector<TextLine>& lines)
{
    const QVector<TextRow> rows = rowsOf(lines);
    // Each line's next line in its paragraph: in the next row, in a like size, starting where
    // it starts (or ending where it ends, justified), at a line's pitch.
    QVector<int> next(lines.size(), -1);
    QVector<bool> hasPrevious(lines.size(), false);
    for (int r = 0; r + 1 < rows.size(); ++r) {
        for (int i : rows[r].lines) {
            const TextLine& line = lines[i];
            // A table of contents' line runs to its page number however short its heading.
            if (hasLeader(line))
                continue;
            // Rows of other text (a table's beside it) may come between a line and its next.
            for (int n = r + 1; n < rows.size() && next[i] < 0; ++n) {
                const float pitch = rows[n].baseline - rows[r].baseline;
                if (pitch > layoutTuning().runningText.mostPitch * line.size)
                    break;
                if (pitch < layoutTuning().runningText.leastPitch * line.size)
                    continue;
                for (int j : rows[n].lines) {
                    const TextLine& below = lines[j];
                    const bool sameStart = std::fabs(below.box.x0 - line.box.x0) <= line.size;
                    // Justified, from an indented first line.
                    const bool sameEnd = std::fabs(below.box.x1 - line.box.x1) <= layoutTuning().runningText.sameEdge && below.box.x0 <= line.box.x0
                                         && below.box.x0 >= line.box.x0 - layoutTuning().runningText.mostIndent * line.size;
                    if (!hasPrevious[j] && !hasLeader(below) && likeSizes(line, below) && overlapX(line.box, below.box)
                        && (sameStart || sameEnd)) {
                        next[i] = j;
                        hasPrevious[j] = true;
                        break;
                    }
                }
            }
        }
    }
    QVector<bool> running(lines.size(), false);
    for (int i = 0; i < lines.size(); ++i) {
        if (hasPrevious[i])
            continue;
        QVector<int> paragraph;
        QVector<int> words;
        for (int j = i; j >= 0; j = next[j]) {
            paragraph.append(j);
            words.append(wordCount(lines[j]));
        }
        // The usual line's words: a heading over a narrow column does not count.
        std::sort(words.begin(), words.end());
        const int usualWords = words[words.size() / 2];
        // A line breaker fills each line: the next line's first word would not have fitted
        // after it. Lines set by hand (a form's labels, a list) end short of that.
        float right = -1e9f;
        for (int j : paragraph)
            right = std::max(right, lines[j].box.x1);
        int wrapped = 0;
        for (int k = 0; k + 1 < paragraph.size(); ++k) {
            const TextLine& line = lines[paragraph[k]];
            wrapped += right - line.box.x1 < firstWordWidth(lines[paragraph[k + 1]]) + line.size ? 1 : 0;
        }
        if (paragraph.size() >= layoutTuning().runningText.leastLines && usualWords >= layoutTuning().lines.proseWords && 2 * wrapped >= paragraph.size() - 1) {
            for (int j : paragraph)
                running[j] = true;
        }
    }
    return running;
}

void joinPiecesAcross(QVector<TextLine>& lines, float joinGap, const std::function<bool(const TextLine&, const TextLine&)>& across)
{
    std::sort(lines.begin(), lines.end(), [](const TextLine& a, const TextLine& b) {
        return a.baseline < b.baseline || (a.baseline == b.baseline && a.box.x0 < b.box.x0);
    });
    QVector<TextLine> joined;
    for (const TextLine& line : lines) {
        if (!joined.isEmpty()) {
            TextLine& last = joined.back();
            const float gap = line.box.x0 - last.box.x1;
            if (!line.vertical && !last.vertical && std::fabs(line.baseline - last.baseline) < layoutTuning().runningText.sameBaseline * line.size && gap >= 0
                && gap < joinGap * line.size && across(last, line)) {
                if (!last.glyphs.back().isSpace() && !line.glyphs.front().isSpace()) {
                    Glyph space = line.glyphs.front();
                    space.c = U' ';
                    space.look = -1;
                    space.figure = -1;
                    space.box.x0 = last.box.x1;
                    space.box.x1 = line.box.x0;
                    last.glyphs.append(space);
                }
                last.glyphs += line.glyphs;
                last.measure();
                continue;
            }
        }
        joined.append(line);
    }
    lines = joined;
}

} // namespace p2w
