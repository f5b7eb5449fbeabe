#include "platform/pdf2word/engine/model/PageModel.h"

#include "platform/pdf2word/engine/model/FlowDocument.h"

#include <QMap>

#include <algorithm>

namespace p2w {

void dropShapes(QVector<Shape>& shapes, const QVector<bool>& gone)
{
    // GCC 12 takes QVector's copy of a Shape for a write past its shared empty header (a false
    // -Wstringop-overflow once inlined).
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
    QVector<Shape> kept;
    kept.reserve(shapes.size());
    for (int i = 0; i < shapes.size(); ++i) {
        if (!gone[i])
            kept.append(shapes[i]);
    }
#pragma GCC diagnostic pop
    shapes = kept;
}

Glyph spaceBetween(const Glyph& before, const Glyph& after)
{
    Glyph space = before;
    space.c = U' ';
    space.box.x0 = before.box.x1;
    space.box.x1 = std::max(before.box.x1, after.box.x0);
    space.shift = Shift::Base;
    return space;
}

QString glyphText(char32_t c)
{
    const QString piece = QString::fromUcs4(&c, 1);
    if ((c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
        return piece.normalized(QString::NormalizationForm_KC);
    return piece;
}

QString TextLine::text() const
{
    QString text;
    text.reserve(glyphs.size());
    for (const Glyph& glyph : glyphs)
        text += glyphText(glyph.c);
    return text;
}

void TextLine::measure()
{
    box = fz_empty_rect;
    QMap<int, int> bySize; // half points -> glyphs
    for (const Glyph& glyph : glyphs) {
        box = fz_union_rect(box, glyph.box);
        if (!glyph.isSpace())
            ++bySize[qRound(glyph.size * 2)];
    }
    if (!bySize.isEmpty())
        size = mostFrequent(bySize) / 2.0f;
    float lowest = -1e9f;
    for (const Glyph& glyph : glyphs) {
        if (!glyph.isSpace() && qRound(glyph.size * 2) == qRound(size * 2))
            lowest = std::max(lowest, glyph.baseline);
    }
    if (lowest > -1e9f)
        baseline = lowest;
}

} // namespace p2w
