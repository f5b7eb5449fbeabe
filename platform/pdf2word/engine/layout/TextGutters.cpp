#include "platform/pdf2word/engine/layout/TextGutters.h"

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>

namespace p2w {

namespace {

// Gutters are sought at most at this many places across a table.
const int kMostSamples = 4000;

// Whether the row has text on both sides of x within [from, to].
bool textBothSides(const QVector<TextLine>& lines, const TextRow& row, float x, float from, float to)
{
    bool before = false;
    bool after = false;
    for (int i : row.lines) {
        const fz_rect box = lines[i].box;
        before = before || (box.x1 <= x && box.x0 >= from - 1);
        after = after || (box.x0 >= x && box.x1 <= to + 1);
    }
    return before && after;
}

// Where a cell edge stands in a gutter from `from` to `to`: just before the text of a column set
// flush left, just after that of a column set flush right, else in the middle.
float gutterEdge(const QVector<TextLine>& lines, const QVector<TextRow>& rows, float from, float to, float size)
{
    const float padding = std::min((to - from) / 2, layoutTuning().gutters.cellPadding * size);
    float leftOfNext = 1e9f;
    float rightOfNext = -1e9f;
    float rightOfLast = -1e9f;
    float leftOfLast = 1e9f;
    for (const TextRow& row : rows) {
        for (int i : row.lines) {
            const fz_rect box = lines[i].box;
            if (box.x0 >= to - 0.5f && box.x0 < to + size) {
                leftOfNext = std::min(leftOfNext, box.x0);
                rightOfNext = std::max(rightOfNext, box.x0);
            }
            if (box.x1 <= from + 0.5f && box.x1 > from - size) {
                rightOfLast = std::max(rightOfLast, box.x1);
                leftOfLast = std::min(leftOfLast, box.x1);
            }
        }
    }
    if (rightOfNext - leftOfNext <= layoutTuning().lines.sameEdge)
        return to - padding;
    if (rightOfLast - leftOfLast <= layoutTuning().lines.sameEdge)
        return from + padding;
    return (from + to) / 2;
}

// The gutters of the text inside the region: x-ranges at least gutters.leastGutter ems wide that the
// lines of at most one row in gutters.rowsPerIntruder reach into (a long entry running up to the next
// column), narrowed to where no word of any row stands.
QVector<std::pair<float, float>> textGutters(const QVector<TextLine>& lines, const QVector<TextRow>& rows,
                                             const fz_rect& region, float size)
{
    const int samples = std::min(kMostSamples, int((region.x1 - region.x0) / layoutTuning().gutters.sampleStep) + 1);
    const float step = (region.x1 - region.x0) / std::max(1, samples - 1);
    auto indexOf = [&](float x) { return std::clamp(int((x - region.x0) / step), 0, samples - 1); };
    QVector<int> rowsIn(samples, 0);
    QVector<bool> wordIn(samples, false);
    for (const TextRow& row : rows) {
        QVector<bool> inRow(samples, false);
        for (int i : row.lines) {
            const TextLine& line = lines[i];
            for (int k = indexOf(line.box.x0); k <= indexOf(line.box.x1); ++k)
                inRow[k] = true;
            for (const auto& word : wordSpans(line)) {
                for (int k = indexOf(word.first); k <= indexOf(word.second); ++k)
                    wordIn[k] = true;
            }
        }
        for (int k = 0; k < samples; ++k)
            rowsIn[k] += inRow[k] ? 1 : 0;
    }
    const int allowed = rows.size() / layoutTuning().gutters.rowsPerIntruder;
    QVector<std::pair<float, float>> gutters;
    for (int k = 0; k < samples;) {
        if (rowsIn[k] > allowed) {
            ++k;
            continue;
        }
        int end = k;
        while (end < samples && rowsIn[end] <= allowed)
            ++end;
        // Text reaching into the run from its left (a long entry) stands left of the edge; text
        // that starts in it (a header set flush left over figures set right) right of it: the
        // last or the first stretch of the run that no word stands in.
        const float runFrom = region.x0 + k * step;
        const float runTo = region.x0 + end * step;
        bool startsInside = false;
        for (const TextRow& row : rows) {
            for (int i : row.lines)
                startsInside = startsInside || (lines[i].box.x0 > runFrom + layoutTuning().lines.sameEdge && lines[i].box.x0 < runTo);
        }
        int bestFrom = -1;
        int bestTo = -1;
        for (int a = k; a < end;) {
            if (wordIn[a]) {
                ++a;
                continue;
            }
            int b = a;
            while (b < end && !wordIn[b])
                ++b;
            if (bestFrom < 0 || !startsInside) {
                bestFrom = a;
                bestTo = b;
            }
            a = b;
        }
        if ((end - k) * step >= layoutTuning().gutters.leastGutter * size && bestFrom >= 0 && k > 0 && end < samples)
            gutters.append({region.x0 + bestFrom * step, region.x0 + (bestTo - 1) * step});
        k = end;
    }
    return gutters;
}

} // namespace

bool hasEdgeIn(const QVector<float>& edges, float from, float to)
{
    for (float edge : edges) {
        if (edge > from && edge < to)
            return true;
    }
    return false;
}

QVector<std::pair<float, float>> wordSpans(const TextLine& line)
{
    QVector<std::pair<float, float>> words;
    bool inWord = false;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.isSpace()) {
            inWord = false;
        } else if (inWord) {
            words.back().first = std::min(words.back().first, glyph.box.x0);
            words.back().second = std::max(words.back().second, glyph.box.x1);
        } else {
            words.append({glyph.box.x0, glyph.box.x1});
            inWord = true;
        }
    }
    return words;
}

QVector<float> gutterEdges(const QVector<TextLine>& lines, const QVector<TextRow>& rows, const fz_rect& region,
                           const QVector<float>& edges)
{
    float size = 0;
    for (const TextRow& row : rows)
        size = std::max(size, row.size);
    QVector<float> gutters;
    for (const auto& gutter : textGutters(lines, rows, region, size)) {
        if (hasEdgeIn(edges, gutter.first, gutter.second))
            continue;
        const float middle = (gutter.first + gutter.second) / 2;
        float from = region.x0;
        float to = region.x1;
        for (float edge : edges) {
            if (edge < middle)
                from = std::max(from, edge);
            else
                to = std::min(to, edge);
        }
        int parted = 0;
        for (const TextRow& row : rows)
            parted += textBothSides(lines, row, middle, from, to) ? 1 : 0;
        if (parted >= layoutTuning().gutters.leastRows)
            gutters.append(gutterEdge(lines, rows, gutter.first, gutter.second, size));
    }
    return gutters;
}

} // namespace p2w
