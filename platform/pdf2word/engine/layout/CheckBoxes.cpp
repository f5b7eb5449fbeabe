// Check boxes: small squares drawn beside form labels become the characters ☐ (empty) and ☒
// (crossed, or holding a tick or a cross), so that a form's choices stay in its text.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

const char32_t kEmptyBox = U'\u2610';
const char32_t kTickedBox = U'\u2612';

bool isMark(char32_t c)
{
    return c == U'x' || c == U'X' || c == U'\u2713' || c == U'\u2714' || c == U'\u2715' || c == U'\u2716' || c == U'\u2717'
           || c == U'\u2718' || c == U'\u00D7';
}

Glyph glyphFor(const fz_rect& box, char32_t c, float size, float baseline)
{
    Glyph glyph;
    glyph.c = c;
    glyph.box = box;
    glyph.size = size;
    glyph.baseline = baseline;
    return glyph;
}

// Puts the glyph into the line at its place, a space on each side where a word stands close.
void insertGlyph(TextLine& line, const Glyph& glyph)
{
    int at = 0;
    while (at < line.glyphs.size() && line.glyphs[at].box.x0 + line.glyphs[at].box.x1 < glyph.box.x0 + glyph.box.x1)
        ++at;
    Glyph space = glyph;
    space.c = U' ';
    space.look = -1;
    QVector<Glyph> added;
    if (at > 0 && !line.glyphs[at - 1].isSpace())
        added.append(space);
    added.append(glyph);
    if (at < line.glyphs.size() && !line.glyphs[at].isSpace())
        added.append(space);
    for (int i = 0; i < added.size(); ++i)
        line.glyphs.insert(at + i, added[i]);
    line.measure();
}

bool holdsBox(const TextLine& line)
{
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.c == kEmptyBox || glyph.c == kTickedBox)
            return true;
    }
    return false;
}

// Whether the square outline at s frames a fill of its own size: a chart legend's swatch of
// colour, not a check box (whose paper is white).
bool isSwatch(const QVector<Shape>& shapes, int s)
{
    const fz_rect box = shapes[s].box;
    for (int other = 0; other < shapes.size(); ++other) {
        const Shape& fill = shapes[other];
        if (other != s && fill.kind == Shape::Path && fill.filled && contains(expanded(box, 1), fill.box)
            && area(fill.box) > layoutTuning().checkBoxes.swatchShare * area(box))
            return true;
    }
    return false;
}

} // namespace

void markCheckBoxes(QVector<Shape>& shapes, QVector<TextLine>& lines)
{
    QVector<bool> gone(shapes.size(), false);
    for (int s = 0; s < shapes.size(); ++s) {
        const Shape& shape = shapes[s];
        const float width = shape.box.x1 - shape.box.x0;
        const float height = shape.box.y1 - shape.box.y0;
        const bool square = std::fabs(width - height) <= layoutTuning().checkBoxes.square * std::max(width, height);
        const bool boxLike = shape.kind == Shape::Path && (shape.rectangle || shape.crossed) && !shape.filled;
        if (!boxLike || !square || width < layoutTuning().checkBoxes.smallestBox || width > layoutTuning().checkBoxes.largestBox || isSwatch(shapes, s))
            continue;
        gone[s] = true;
        bool ticked = shape.crossed;
        // A tick or cross drawn as strokes of their own inside the box.
        for (int other = 0; other < shapes.size(); ++other) {
            const fz_rect mark = shapes[other].box;
            if (other != s && shapes[other].kind == Shape::Path && !shapes[other].rectangle && mark.x0 >= shape.box.x0 - 1
                && mark.x1 <= shape.box.x1 + 1 && mark.y0 >= shape.box.y0 - 1 && mark.y1 <= shape.box.y1 + 1) {
                ticked = true;
                gone[other] = true;
            }
        }
        // A tick or cross set as a glyph inside the box.
        for (int i = 0; i < lines.size(); ++i) {
            QVector<Glyph>& glyphs = lines[i].glyphs;
            for (int g = glyphs.size() - 1; g >= 0; --g) {
                if (isMark(glyphs[g].c) && centreInside(glyphs[g].box, shape.box)) {
                    ticked = true;
                    glyphs.remove(g);
                }
            }
        }
        lines.erase(std::remove_if(lines.begin(), lines.end(), [](const TextLine& line) { return line.glyphs.isEmpty(); }),
                    lines.end());
        const float middle = (shape.box.y0 + shape.box.y1) / 2;
        // The nearest line on the box's row, the label it stands before or after.
        TextLine* host = nullptr;
        float hostGap = 0;
        for (TextLine& line : lines) {
            const float reach = layoutTuning().checkBoxes.onLine * (line.box.y1 - line.box.y0);
            if (line.vertical || middle < line.box.y0 - reach || middle > line.box.y1 + reach)
                continue;
            const float gap = std::max({0.0f, line.box.x0 - shape.box.x1, shape.box.x0 - line.box.x1});
            if (gap <= layoutTuning().checkBoxes.labelGap * line.size && (!host || gap < hostGap)) {
                host = &line;
                hostGap = gap;
            }
        }
        const char32_t c = ticked ? kTickedBox : kEmptyBox;
        if (host) {
            insertGlyph(*host, glyphFor(shape.box, c, host->size, host->baseline));
        } else {
            TextLine line;
            line.glyphs.append(glyphFor(shape.box, c, height, shape.box.y1));
            line.measure();
            lines.append(line);
        }
    }
    dropShapes(shapes, gone);
    // The pieces of a row of choices ("☐ Single  ☒ Married") were apart at the boxes' gaps; with
    // the boxes in them they meet again and are one line.
    joinPiecesAcross(lines, layoutTuning().checkBoxes.joinGap, [](const TextLine& left, const TextLine& right) { return holdsBox(left) || holdsBox(right); });
}

} // namespace p2w
