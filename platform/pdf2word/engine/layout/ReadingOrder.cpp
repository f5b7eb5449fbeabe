// Reading order of a page's lines, after T. M. Breuel's rules for text lines: a line comes before
// another when the two overlap horizontally and it stands higher, or when it stands wholly to the
// left and nothing between the two, from top to bottom, spans across both (a heading, a figure
// or a table over the columns), and, when it stands lower, its column runs on up beside the other
// (or it is turned on its side, a column of its own). The order is a topological sort of these relations, higher and
// further left first where they leave a choice.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <numeric>
#include <queue>
#include <vector>

namespace p2w {

namespace {

// Beyond this many elements a page is read top to bottom, left to right (a dense table of
// numbers, say): the rules cost the cube of the count.
const int kMostElements = 700;

float middleY(const fz_rect& box)
{
    return (box.y0 + box.y1) / 2;
}

// A line turned on its side (a label up a form's margin) is a column of its own.
bool turned(const fz_rect& box)
{
    return box.y1 - box.y0 > layoutTuning().readingOrder.turned * (box.x1 - box.x0);
}

// Whether a stands higher than b, or as high and further left: the order where the rules leave
// a choice.
bool higher(const QVector<fz_rect>& boxes, int a, int b)
{
    return boxes[a].y0 < boxes[b].y0 - 0.5f || (boxes[a].y0 <= boxes[b].y0 + 0.5f && boxes[a].x0 < boxes[b].x0);
}

// An obstacle the text flows around (a picture or infobox floated to one side, with the text
// running on under it) is read where it starts: after the lines beside it that start above it,
// before the others. Marks the obstacles (indexes from lineCount) that float so.
std::vector<bool> floatingObstacles(const QVector<fz_rect>& boxes, int lineCount)
{
    const int count = boxes.size();
    std::vector<bool> floating(count, false);
    for (int o = lineCount; o < count; ++o) {
        const fz_rect& obstacle = boxes[o];
        QVector<int> beside;
        for (int l = 0; l < lineCount; ++l) {
            if (!overlapX(boxes[l], obstacle) && middleY(boxes[l]) > obstacle.y0 && middleY(boxes[l]) < obstacle.y1)
                beside.append(l);
        }
        for (int l = 0; l < lineCount && !beside.isEmpty() && !floating[o]; ++l) {
            const fz_rect& line = boxes[l];
            const float height = line.y1 - line.y0;
            if (line.y0 < obstacle.y1 - 0.5f * height || line.y0 - obstacle.y1 > layoutTuning().readingOrder.floatGap * height || !overlapX(line, obstacle))
                continue;
            // The line under it runs on under the text beside it too.
            for (int b : beside)
                floating[o] = floating[o] || overlapX(line, boxes[b]);
        }
    }
    return floating;
}

// The rules between two of a page's elements (its lines, then its obstacles).
class ReadingRules
{
public:
    ReadingRules(const QVector<fz_rect>& boxes, const QVector<int>& byHeight, int lineCount)
        : m_boxes(boxes)
        , m_lineCount(lineCount)
        , m_byMiddle(byHeight)
        , m_rank(boxes.size())
        , m_floating(floatingObstacles(boxes, lineCount))
    {
        std::sort(m_byMiddle.begin(), m_byMiddle.end(), [&](int a, int b) { return middleY(boxes[a]) < middleY(boxes[b]); });
        for (int i = 0; i < m_byMiddle.size(); ++i)
            m_rank[m_byMiddle[i]] = i;
    }

    // Whether a is read before b: beside a floating obstacle by where the obstacle starts, one
    // over the other from the top, one left of the other when nothing spans across both between
    // them and the left one stands no lower, is turned, or has its column run on up beside b.
    bool readsFirst(int a, int b) const
    {
        const QVector<fz_rect>& boxes = m_boxes;
        const bool besideFloat =
            !overlapX(boxes[a], boxes[b]) && ((m_floating[a] && b < m_lineCount) || (m_floating[b] && a < m_lineCount));
        if (besideFloat)
            return m_floating[a] ? middleY(boxes[b]) > boxes[a].y0 : middleY(boxes[a]) <= boxes[b].y0;
        if (overlapX(boxes[a], boxes[b]))
            return middleY(boxes[a]) < middleY(boxes[b]) || (middleY(boxes[a]) == middleY(boxes[b]) && a < b);
        if (boxes[a].x1 <= boxes[b].x0 + 0.5f)
            return !spannedBetween(a, b) && (boxes[a].y0 < boxes[b].y1 || turned(boxes[a]) || columnBeside(a, b));
        return false;
    }

private:
    // Whether something between a and b, from top to bottom, spans across both (a heading, a
    // figure or a table over the columns).
    bool spannedBetween(int a, int b) const
    {
        const QVector<fz_rect>& boxes = m_boxes;
        const int from = std::min(m_rank[a], m_rank[b]) + 1;
        const int to = std::max(m_rank[a], m_rank[b]);
        const float top = std::min(middleY(boxes[a]), middleY(boxes[b]));
        const float bottom = std::max(middleY(boxes[a]), middleY(boxes[b]));
        for (int k = from; k < to; ++k) {
            const int c = m_byMiddle[k];
            const float y = middleY(boxes[c]);
            if (y <= top || y >= bottom)
                continue;
            if (overlapX(boxes[c], boxes[a]) && overlapX(boxes[c], boxes[b]))
                return true;
        }
        return false;
    }

    // A lower line to the left is read first when its column runs on up beside the other line:
    // something above it in its column stands at the other's height. A line under a paragraph
    // that spans both (a display equation's lead-in left of the equation above it) is not.
    bool columnBeside(int a, int b) const
    {
        const QVector<fz_rect>& boxes = m_boxes;
        for (int c = 0; c < boxes.size(); ++c) {
            if (c != a && c != b && overlapX(boxes[c], boxes[a]) && !overlapX(boxes[c], boxes[b]) && boxes[c].y0 < boxes[b].y1
                && boxes[c].y1 > boxes[b].y0)
                return true;
        }
        return false;
    }

    const QVector<fz_rect>& m_boxes;
    const int m_lineCount;
    // The elements by their middle's height, to find what stands between two of them.
    QVector<int> m_byMiddle;
    QVector<int> m_rank;
    const std::vector<bool> m_floating;
};

// Kahn's sort of the elements by the rules (after: those each is read before; before: how many
// are read before each), taking the highest ready element; a cycle (possible on odd pages) is
// broken at its highest element.
QVector<int> sortByRules(const std::vector<std::vector<int>>& after, std::vector<int> before, const QVector<int>& byHeight,
                         const QVector<fz_rect>& boxes)
{
    const int count = boxes.size();
    QVector<int> order;
    order.reserve(count);
    std::vector<bool> done(count, false);
    auto later = [&](int a, int b) { return higher(boxes, b, a); };
    std::priority_queue<int, std::vector<int>, decltype(later)> ready(later);
    for (int i = 0; i < count; ++i) {
        if (before[i] == 0)
            ready.push(i);
    }
    int next = 0; // position in byHeight for breaking cycles
    while (order.size() < count) {
        if (ready.empty()) {
            while (done[byHeight[next]])
                ++next;
            ready.push(byHeight[next]);
            before[byHeight[next]] = 0;
        }
        const int element = ready.top();
        ready.pop();
        if (done[element])
            continue;
        done[element] = true;
        order.append(element);
        for (int b : after[element]) {
            if (!done[b] && --before[b] == 0)
                ready.push(b);
        }
    }
    return order;
}

} // namespace

QVector<int> readingOrder(const QVector<fz_rect>& lineBoxes, const QVector<fz_rect>& obstacles, const fz_cookie* cookie)
{
    const QVector<fz_rect> boxes = lineBoxes + obstacles;
    const int count = boxes.size();
    QVector<int> byHeight(count);
    std::iota(byHeight.begin(), byHeight.end(), 0);
    std::sort(byHeight.begin(), byHeight.end(), [&](int a, int b) { return higher(boxes, a, b); });
    if (count > kMostElements)
        return byHeight;

    const ReadingRules rules(boxes, byHeight, lineBoxes.size());
    std::vector<std::vector<int>> after(count);
    std::vector<int> before(count, 0);
    for (int a = 0; a < count; ++a) {
        if (aborted(cookie))
            return byHeight;
        for (int b = 0; b < count; ++b) {
            if (a != b && rules.readsFirst(a, b)) {
                after[a].push_back(b);
                ++before[b];
            }
        }
    }
    return sortByRules(after, before, byHeight, boxes);
}

} // namespace p2w
