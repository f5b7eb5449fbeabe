#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

quint64 keyOf(int x, int y)
{
    return quint64(quint32(x)) << 32 | quint32(y);
}

int stepOf(float value)
{
    return int(std::lround(std::clamp(value, -1e6f, 1e6f) / readTuning().lines.cjkPlaceStep));
}

} // namespace

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
