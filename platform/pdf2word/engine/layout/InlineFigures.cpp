// Pictures in a line of text: an icon or a symbol drawn as a picture between the words of a line
// stands in the line, as a word processor sets a picture as a character, not as a block of its
// own that takes a line and parts the line's words.

#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

const char32_t kObject = U'\uFFFC';

// The line the figure stands in: the nearest beside which it stands; -1 for none.
int lineOf(const FoundFigure& figure, const QVector<TextLine>& lines)
{
    const fz_rect box = figure.box;
    const float height = box.y1 - box.y0;
    int best = -1;
    float bestGap = 0;
    for (int l = 0; l < lines.size(); ++l) {
        const TextLine& line = lines[l];
        if (line.vertical || line.size <= 0 || height > layoutTuning().inlineFigures.mostHeight * line.size)
            continue;
        // Set on the line's baseline (as a word processor sets a picture in a line), or half of
        // it or more within the line's height.
        const float overlap = std::min(box.y1, line.box.y1) - std::max(box.y0, line.box.y0);
        const bool onBaseline = box.y1 > line.baseline - layoutTuning().inlineFigures.baselineReach * line.size && box.y1 < line.box.y1 + layoutTuning().inlineFigures.baselineReach * line.size;
        if (overlap < layoutTuning().inlineFigures.leastOverlap * height && !onBaseline)
            continue;
        const float gap = std::max({0.0f, line.box.x0 - box.x1, box.x0 - line.box.x1});
        if (gap > layoutTuning().inlineFigures.mostGap * line.size)
            continue;
        // Beside the line's glyphs, not over them (a mark drawn over a word is no picture in the line).
        const bool overText = std::any_of(line.glyphs.begin(), line.glyphs.end(), [&](const Glyph& glyph) {
            return !glyph.isSpace() && middleX(glyph.box) > box.x0 && middleX(glyph.box) < box.x1;
        });
        if (!overText && (best < 0 || gap < bestGap)) {
            best = l;
            bestGap = gap;
        }
    }
    return best;
}

// Puts the picture's glyph into the line at its place, a space between it and a word standing
// apart from it.
void insertPicture(TextLine& line, const fz_rect& box, int figure)
{
    Glyph glyph;
    glyph.c = kObject;
    glyph.box = box;
    glyph.baseline = line.baseline;
    glyph.size = line.size;
    glyph.figure = figure;
    int at = 0;
    while (at < line.glyphs.size() && middleX(line.glyphs[at].box) < middleX(box))
        ++at;
    Glyph space = glyph;
    space.c = U' ';
    space.figure = -1;
    QVector<Glyph> added;
    if (at > 0 && !line.glyphs[at - 1].isSpace() && box.x0 - line.glyphs[at - 1].box.x1 > layoutTuning().inlineFigures.spaced * line.size)
        added << space;
    added << glyph;
    if (at < line.glyphs.size() && !line.glyphs[at].isSpace() && line.glyphs[at].box.x0 - box.x1 > layoutTuning().inlineFigures.spaced * line.size)
        added << space;
    for (int i = 0; i < added.size(); ++i)
        line.glyphs.insert(at + i, added[i]);
    line.measure();
}

bool endsWithPicture(const TextLine& line, bool atStart)
{
    if (line.glyphs.isEmpty())
        return false;
    int i = atStart ? 0 : line.glyphs.size() - 1;
    while (i >= 0 && i < line.glyphs.size() && line.glyphs[i].isSpace())
        i += atStart ? 1 : -1;
    return i >= 0 && i < line.glyphs.size() && line.glyphs[i].c == kObject;
}

} // namespace

void placeInlineFigures(QVector<FoundFigure>& figures, QVector<TextLine>& lines, int firstFigure, QVector<FoundFigure>* inline_)
{
    QVector<FoundFigure> kept;
    for (const FoundFigure& figure : figures) {
        const int line = lineOf(figure, lines);
        if (line < 0) {
            kept.append(figure);
            continue;
        }
        insertPicture(lines[line], figure.box, firstFigure + inline_->size());
        inline_->append(figure);
    }
    if (kept.size() == figures.size())
        return;
    figures = kept;
    // The pieces of a line that a picture parted are one line again.
    joinPiecesAcross(lines, layoutTuning().inlineFigures.joinGap, [](const TextLine& left, const TextLine& right) {
        return !left.rtl && !right.rtl && (endsWithPicture(left, false) || endsWithPicture(right, true));
    });
}

} // namespace p2w
