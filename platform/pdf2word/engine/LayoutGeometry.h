#pragma once

// Small measures of boxes and lines that the layout's stages share.

#include "platform/pdf2word/engine/CjkText.h"
#include "platform/pdf2word/engine/PageModel.h"

#include <algorithm>
#include <cmath>

namespace p2w {

// Lines are filed by the bands of the page they reach into (points), so that lines near one
// another are found without comparing every pair.
const float kBand = 12;
// A line reaching into more bands than this (a hostile box as tall as the coordinate space) is
// compared with every line instead, so that the bands stay few.
const int kMostBands = 64;

// Clamped so that any coordinate gives a band an int holds.
inline int bandOf(float y)
{
    return int(std::floor(std::clamp(y, -1e6f, 1e6f) / kBand));
}

inline float width(const fz_rect& box)
{
    return box.x1 - box.x0;
}

inline float middleX(const fz_rect& box)
{
    return (box.x0 + box.x1) / 2;
}

// Whether two boxes share more than half a point across.
inline bool overlapX(const fz_rect& a, const fz_rect& b)
{
    return std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 0.5f;
}

inline float area(const fz_rect& box)
{
    return std::max(0.0f, box.x1 - box.x0) * std::max(0.0f, box.y1 - box.y0);
}

inline fz_rect expanded(fz_rect box, float by)
{
    return fz_make_rect(box.x0 - by, box.y0 - by, box.x1 + by, box.y1 + by);
}

// Whether two boxes touch or overlap.
inline bool touches(const fz_rect& a, const fz_rect& b)
{
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

// Whether the middle of box lies in region.
inline bool centreInside(const fz_rect& box, const fz_rect& region)
{
    const float x = (box.x0 + box.x1) / 2;
    const float y = (box.y0 + box.y1) / 2;
    return x >= region.x0 && x <= region.x1 && y >= region.y0 && y <= region.y1;
}

// Whether inner lies in outer, give or take a point.
inline bool contains(const fz_rect& outer, const fz_rect& inner)
{
    return inner.x0 >= outer.x0 - 1 && inner.x1 <= outer.x1 + 1 && inner.y0 >= outer.y0 - 1 && inner.y1 <= outer.y1 + 1;
}

// The words of a line: those spaces part, and in Chinese and Japanese, which set no spaces, a
// word for every two characters.
inline int wordCount(const TextLine& line)
{
    int words = 1;
    int cjk = 0;
    for (const Glyph& glyph : line.glyphs) {
        words += glyph.isSpace() ? 1 : 0;
        cjk += isCjk(glyph.c) ? 1 : 0;
    }
    return words + cjk / 2;
}

} // namespace p2w
