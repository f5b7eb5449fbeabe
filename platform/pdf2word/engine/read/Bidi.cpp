#include "platform/pdf2word/engine/read/Bidi.h"

#include <fribidi.h>

#include <vector>

namespace p2w {

bool isRightToLeft(char32_t c)
{
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF);
}

void toReadingOrder(QVector<Glyph>& glyphs, bool rtl)
{
    const int length = glyphs.size();
    if (length < 2)
        return;
    std::vector<FriBidiChar> seen(length);
    for (int i = 0; i < length; ++i)
        seen[i] = glyphs[i].c;
    std::vector<FriBidiChar> reordered(length);
    std::vector<FriBidiStrIndex> fromSeen(length);
    FriBidiParType direction = rtl ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (!fribidi_log2vis(seen.data(), length, &direction, reordered.data(), nullptr, fromSeen.data(), nullptr))
        return;
    QVector<Glyph> read(length);
    for (int i = 0; i < length; ++i)
        read[i] = glyphs[fromSeen[i]];
    glyphs = read;
}

} // namespace p2w
