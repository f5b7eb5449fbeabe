#include "platform/pdf2word/engine/model/CjkCharacters.h"

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

} // namespace p2w
