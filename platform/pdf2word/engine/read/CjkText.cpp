#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

struct Range
{
    char32_t first;
    char32_t last;
};

// Hangul (U+1100, U+3130, U+AC00, U+FFA0 and on) lies outside these: Korean keeps its spaces.
const Range kCjkRanges[] = {
    {0x2E80, 0x2FDF},   // radicals
    {0x3001, 0x303F},   // ideographic punctuation and marks (U+3000 is the ideographic space)
    {0x3040, 0x312F},   // Hiragana, Katakana, Bopomofo
    {0x3190, 0x33FF},   // Kanbun, strokes, Katakana extensions, enclosed and squared forms
    {0x3400, 0x4DBF},   // Han, extension A
    {0x4E00, 0x9FFF},   // Han
    {0xF900, 0xFAFF},   // Han compatibility ideographs
    {0xFE30, 0xFE4F},   // compatibility (vertical) punctuation
    {0xFF01, 0xFF9F},   // fullwidth forms, halfwidth Katakana
    {0xFFE0, 0xFFE6},   // fullwidth signs
    {0x20000, 0x3FFFF}, // Han, extensions B and on
};

quint64 keyOf(int x, int y)
{
    return quint64(quint32(x)) << 32 | quint32(y);
}

int stepOf(float value)
{
    return int(std::lround(std::clamp(value, -1e6f, 1e6f) / readTuning().lines.cjkPlaceStep));
}

} // namespace

bool isCjk(char32_t c)
{
    for (const Range& range : kCjkRanges) {
        if (c < range.first)
            return false;
        if (c <= range.last)
            return true;
    }
    return false;
}

void DrawnSpaces::add(fz_point origin)
{
    m_places.insert(keyOf(stepOf(origin.x), stepOf(origin.y)), 0);
}

bool DrawnSpaces::contains(fz_point origin) const
{
    const int x = stepOf(origin.x);
    const int y = stepOf(origin.y);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (m_places.contains(keyOf(x + dx, y + dy)))
                return true;
        }
    }
    return false;
}

void closeCjkGaps(QVector<Glyph>& glyphs, const QVector<bool>& drawn)
{
    QVector<Glyph> kept;
    kept.reserve(glyphs.size());
    for (int i = 0; i < glyphs.size(); ++i) {
        if (!glyphs[i].isSpace() || kept.isEmpty() || !isCjk(kept.back().c)) {
            kept.append(glyphs[i]);
            continue;
        }
        int end = i;
        bool anyDrawn = false;
        for (; end < glyphs.size() && glyphs[end].isSpace(); ++end)
            anyDrawn = anyDrawn || drawn.value(end);
        const bool gap = end < glyphs.size() && isCjk(glyphs[end].c) && !anyDrawn;
        for (int j = i; j < end && !gap; ++j)
            kept.append(glyphs[j]);
        i = end - 1;
    }
    glyphs = kept;
}

} // namespace p2w
