// Panels: tinted or framed boxes with text inside (a sidebar, an infobox, a heading set on a bar).
// Their text stays text; the panel is written as a box of its own around it.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

// Whether the box of shape `frame` holds a drawing (a chart's bars and curves, a legend's
// swatches): then it is a chart's frame, not a panel. Boxes with text inside (shaded rows) and
// pictures belong to panels.
bool holdsDrawing(const QVector<Shape>& shapes, int frame, const QVector<TextLine>& lines)
{
    const fz_rect box = shapes[frame].box;
    int drawn = 0;
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        if (i == frame || shape.kind != Shape::Path || shape.thin || !contains(box, shape.box) || contains(shape.box, box))
            continue;
        bool withText = false;
        for (const TextLine& line : lines)
            withText = withText || (shape.rectangle && centreInside(line.box, shape.box));
        drawn += withText ? 0 : 1;
    }
    return drawn >= layoutTuning().panels.leastDrawnShapes;
}

// Whether a thin frame around text is a panel: big enough, and no chart's legend (nothing drawn
// inside, nothing drawn around it).
bool isFrame(const QVector<Shape>& shapes, int frame)
{
    const Shape& shape = shapes[frame];
    if (shape.kind != Shape::Path || !shape.rectangle || shape.filled || !shape.thin || width(shape.box) < layoutTuning().panels.leastFrame
        || shape.box.y1 - shape.box.y0 < layoutTuning().panels.leastFrame)
        return false;
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& other = shapes[i];
        if (i == frame || other.kind != Shape::Path)
            continue;
        // A swatch inside makes it a legend, and so does a chart's area around it.
        const bool inside = contains(shape.box, other.box);
        if ((inside && !other.thin) || (!inside && contains(other.box, shape.box)))
            return false;
    }
    return true;
}

// Whether a line or arrow from outside touches the box: then it is a box of a diagram (an
// organisation chart, a flow of steps), drawn with the diagram.
bool inDiagram(const QVector<Shape>& shapes, int box)
{
    const fz_rect bounds = shapes[box].box;
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& other = shapes[i];
        if (i != box && other.kind == Shape::Path && !other.rectangle && !contains(bounds, other.box)
            && touches(expanded(bounds, 1), other.box))
            return true;
    }
    return false;
}

// Which shapes may be panels: boxes and frames, neither the page's background nor a diagram's.
QVector<int> panelCandidates(const QVector<Shape>& shapes, fz_rect mediabox)
{
    // Largest first, so that a box inside a panel (a shaded row of an infobox) stays part of the
    // panel's look rather than a panel of its own.
    QVector<int> candidates;
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        if (area(shape.box) < layoutTuning().lines.backgroundShare * area(mediabox)
            && ((shape.kind == Shape::Path && shape.rectangle && !shape.thin) || isFrame(shapes, i)) && !inDiagram(shapes, i))
            candidates.append(i);
    }
    std::sort(candidates.begin(), candidates.end(), [&](int a, int b) { return area(shapes[a].box) > area(shapes[b].box); });
    return candidates;
}

// Which other candidates outline the same panel: a frame stroked around its fill, or a fill inside its frame.
void joinPanelOutlines(FoundPanel& panel, const QVector<int>& candidates, const QVector<Shape>& shapes, QVector<bool>& used)
{
    const fz_rect box = panel.box;
    for (int j : candidates) {
        if (used[j] || !contains(fz_make_rect(box.x0 - 4, box.y0 - 4, box.x1 + 4, box.y1 + 4), shapes[j].box)
            || !contains(shapes[j].box, fz_make_rect(box.x0 + 4, box.y0 + 4, box.x1 - 4, box.y1 - 4)))
            continue;
        used[j] = true;
        if (shapes[j].filled && panel.fill < 0)
            panel.fill = shapes[j].color;
        else if (!shapes[j].filled && panel.border < 0)
            panel.border = shapes[j].color;
    }
}

// Which hairlines frame a panel (a thin stroked or filled outline): they become its border.
void claimHairlineFrames(const QVector<Shape>& shapes, QVector<FoundPanel>& panels, QVector<bool>& used)
{
    for (int i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        if (used[i] || !shape.rectangle || !shape.thin)
            continue;
        for (FoundPanel& panel : panels) {
            const fz_rect grown = fz_make_rect(panel.box.x0 - 4, panel.box.y0 - 4, panel.box.x1 + 4, panel.box.y1 + 4);
            if (contains(grown, shape.box) && shape.box.x1 - shape.box.x0 > 0.9f * (panel.box.x1 - panel.box.x0)
                && shape.box.y1 - shape.box.y0 > 0.9f * (panel.box.y1 - panel.box.y0)) {
                used[i] = true;
                if (panel.border < 0)
                    panel.border = shape.color;
            }
        }
    }
}

// Whether a narrow panel beside the text (an infobox) owns a title set just above its frame.
void takeTitlesAbove(QVector<FoundPanel>& panels, const QVector<TextLine>& lines, fz_rect mediabox)
{
    for (FoundPanel& panel : panels) {
        if (panel.box.x1 - panel.box.x0 > layoutTuning().panels.sidePanelShare * (mediabox.x1 - mediabox.x0))
            continue;
        for (const TextLine& line : lines) {
            const float gap = panel.box.y0 - line.box.y1;
            if (!line.vertical && gap >= 0 && gap < line.size && line.box.x0 >= panel.box.x0 - 1 && line.box.x1 <= panel.box.x1 + 1)
                panel.box.y0 = std::min(panel.box.y0, line.box.y0 - 1);
        }
    }
}

// A box drawn a band at a time (a shaded box whose producer fills each line's strip): fills of
// one colour and width, each right under the one before, become one box, the first fill's; the
// others are marked used.
void joinStackedBands(QVector<Shape>& shapes, QVector<bool>& used)
{
    QVector<int> fills;
    for (int i = 0; i < shapes.size(); ++i) {
        if (shapes[i].kind == Shape::Path && shapes[i].rectangle && shapes[i].filled && !shapes[i].thin)
            fills.append(i);
    }
    std::sort(fills.begin(), fills.end(), [&](int a, int b) { return shapes[a].box.y0 < shapes[b].box.y0; });
    for (int k = 0; k < fills.size(); ++k) {
        Shape& box = shapes[fills[k]];
        if (used[fills[k]])
            continue;
        for (int n = k + 1; n < fills.size() && shapes[fills[n]].box.y0 <= box.box.y1 + layoutTuning().panels.bandJoint; ++n) {
            const Shape& band = shapes[fills[n]];
            if (used[fills[n]] || band.color != box.color || std::fabs(band.box.x0 - box.box.x0) > layoutTuning().panels.bandJoint
                || std::fabs(band.box.x1 - box.box.x1) > layoutTuning().panels.bandJoint || band.box.y0 < box.box.y1 - layoutTuning().panels.bandJoint)
                continue;
            box.box.y1 = std::max(box.box.y1, band.box.y1);
            used[fills[n]] = true;
        }
    }
}

} // namespace

QVector<FoundPanel> findPanels(QVector<Shape>& shapes, const QVector<TextLine>& lines, fz_rect mediabox)
{
    QVector<bool> used(shapes.size(), false);
    joinStackedBands(shapes, used);
    QVector<int> candidates = panelCandidates(shapes, mediabox);
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(), [&](int i) { return used[i]; }), candidates.end());
    QVector<FoundPanel> panels;
    for (int i : candidates) {
        const fz_rect box = shapes[i].box;
        float size = 0;
        bool holdsText = false;
        for (const TextLine& line : lines) {
            if (!centreInside(line.box, box))
                continue;
            holdsText = true;
            size = std::max(size, line.size);
        }
        bool nested = false;
        for (const FoundPanel& panel : panels)
            nested = nested || contains(panel.box, box);
        if (nested) {
            // A shaded row inside a panel is part of its look; a bar of a chart stays a drawing.
            used[i] = holdsText;
            continue;
        }
        if (!holdsText || box.x1 - box.x0 < layoutTuning().panels.leastPanelEms * size || box.y1 - box.y0 < size || holdsDrawing(shapes, i, lines))
            continue;
        FoundPanel panel;
        panel.box = box;
        if (shapes[i].filled)
            panel.fill = shapes[i].color;
        else
            panel.border = shapes[i].color;
        used[i] = true;
        joinPanelOutlines(panel, candidates, shapes, used);
        panels.append(panel);
    }
    claimHairlineFrames(shapes, panels, used);
    dropShapes(shapes, used);
    takeTitlesAbove(panels, lines, mediabox);
    std::sort(panels.begin(), panels.end(), [](const FoundPanel& a, const FoundPanel& b) { return a.box.y0 < b.box.y0; });
    return panels;
}

} // namespace p2w
