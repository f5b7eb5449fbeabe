// Highlights: a fill drawn behind a few words of a line, as a word processor marks text, is the
// words' shading, not a box of its own: their glyphs take its colour as their background and the
// fill leaves the page's shapes, so that no table, panel or figure is made of it.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

const int kWhite = 0xFFFFFF;

bool fillsRectangle(const Shape& shape)
{
    return shape.kind == Shape::Path && shape.filled && shape.rectangle && !shape.crossed && shape.color != kWhite;
}

// The glyphs of a line that a fill lies behind: their indexes, first to last, or none when the
// fill does not hug a run of the line's words.
QVector<int> coveredGlyphs(const TextLine& line, const fz_rect& fill)
{
    QVector<int> covered;
    const float em = line.size;
    for (int g = 0; g < line.glyphs.size(); ++g) {
        const Glyph& glyph = line.glyphs[g];
        if (!glyph.isSpace() && middleX(glyph.box) >= fill.x0 && middleX(glyph.box) <= fill.x1)
            covered.append(g);
    }
    if (covered.isEmpty())
        return {};
    // Left to right, whichever way the line reads.
    QVector<fz_rect> boxes;
    for (int g : covered)
        boxes.append(line.glyphs[g].box);
    std::sort(boxes.begin(), boxes.end(), [](const fz_rect& a, const fz_rect& b) { return a.x0 < b.x0; });
    if (boxes.front().x0 - fill.x0 > layoutTuning().highlights.mostReach * em || fill.x1 - boxes.back().x1 > layoutTuning().highlights.mostReach * em)
        return {};
    for (int i = 1; i < boxes.size(); ++i) {
        if (boxes[i].x0 - boxes[i - 1].x1 > layoutTuning().highlights.mostWordGap * em)
            return {};
    }
    return covered;
}

} // namespace

void markHighlights(QVector<Shape>& shapes, QVector<TextLine>& lines)
{
    // The lines by the band their baseline stands in.
    QHash<int, QVector<int>> byBand;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].vertical)
            byBand[bandOf(lines[i].baseline)].append(i);
    }
    QVector<bool> gone(shapes.size(), false);
    for (int s = 0; s < shapes.size(); ++s) {
        const fz_rect fill = shapes[s].box;
        const float height = fill.y1 - fill.y0;
        if (!fillsRectangle(shapes[s]) || height <= 0 || height > kBand * kMostBands)
            continue;
        // The lines whose baseline the fill reaches over: one line, maybe in pieces.
        QVector<int> inside;
        for (int band = bandOf(fill.y0); band <= bandOf(fill.y1); ++band) {
            for (int i : byBand.value(band)) {
                const TextLine& line = lines[i];
                if (line.baseline > fill.y0 && line.baseline < fill.y1 && line.box.x1 > fill.x0 && line.box.x0 < fill.x1)
                    inside.append(i);
            }
        }
        if (inside.isEmpty())
            continue;
        const float baseline = lines[inside.front()].baseline;
        const float size = lines[inside.front()].size;
        const bool oneLine = std::all_of(inside.begin(), inside.end(),
                                         [&](int i) { return std::fabs(lines[i].baseline - baseline) < 0.25f * size; });
        if (!oneLine || height < layoutTuning().highlights.leastHeight * size || height > layoutTuning().highlights.mostHeight * size)
            continue;
        QVector<QVector<int>> covered;
        bool hugs = true;
        for (int i : inside) {
            covered.append(coveredGlyphs(lines[i], fill));
            hugs = hugs && !covered.back().isEmpty();
        }
        if (!hugs)
            continue;
        for (int k = 0; k < inside.size(); ++k) {
            QVector<Glyph>& glyphs = lines[inside[k]].glyphs;
            // The spaces between the covered words are highlighted with them.
            for (int g = covered[k].front(); g <= covered[k].back(); ++g)
                glyphs[g].background = shapes[s].color;
        }
        gone[s] = true;
    }
    dropShapes(shapes, gone);
}

} // namespace p2w
