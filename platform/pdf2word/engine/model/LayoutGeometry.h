#pragma once

// Small measures of boxes and lines that the layout's stages share.

#include "platform/pdf2word/engine/model/CjkCharacters.h"
#include "platform/pdf2word/engine/model/PageModel.h"

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

// The width of the line's first word: whether it would have fitted at the end of the line before.
inline float firstWordWidth(const TextLine& line)
{
    float from = 1e9f;
    float to = -1e9f;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.isSpace())
            break;
        from = std::min(from, glyph.box.x0);
        to = std::max(to, glyph.box.x1);
    }
    return to > from ? to - from : 0;
}

// Whether the line holds a leader: dots that lead from a heading to its page in a table of
// contents ("Introduction . . . . 1", "Introduction.......1").
inline bool hasLeader(const TextLine& line)
{
    int dots = 0;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.c == U'.' || glyph.c == U'\u2026')
            ++dots;
        else if (!glyph.isSpace())
            dots = 0;
        if (dots >= 4)
            return true;
    }
    return false;
}

// Whether the line starts with a list's number: "1.", "12)", "a)", "(iv)" and a space.
inline bool startsWithNumber(const TextLine& line)
{
    int digits = 0;
    int letters = 0;
    int i = line.glyphs.size() > 0 && line.glyphs[0].c == U'(' ? 1 : 0;
    for (; i < line.glyphs.size() && i < 6; ++i) {
        const char32_t c = line.glyphs[i].c;
        if (c >= U'0' && c <= U'9')
            ++digits;
        else if (c >= U'a' && c <= U'z')
            ++letters;
        else
            break;
    }
    const bool marked = i + 1 < line.glyphs.size() && (line.glyphs[i].c == U'.' || line.glyphs[i].c == U')');
    return marked && line.glyphs[i + 1].isSpace() && ((digits > 0 && digits <= 3 && letters == 0) || (digits == 0 && letters == 1));
}

// Whether the line starts with a list's bullet (or a check box standing for one).
inline bool startsWithBullet(const TextLine& line)
{
    if (line.glyphs.size() < 2)
        return false;
    const char32_t c = line.glyphs.front().c;
    return c == U'\u2022' || c == U'\u25E6' || c == U'\u25AA' || c == U'\u25CF' || c == U'\u2023' || c == U'\u2043'
           || c == U'\u00B7' || c == U'\u2610' || c == U'\u2612';
}

} // namespace p2w
