#pragma once

// Chinese and Japanese text sets no space between its characters: a gap a PDF leaves between two
// of them (justified text, glyphs placed one by one) is no word break, and neither is the space an
// OCR engine writes after each word it cut out of a line of such text. A space between two of
// them stays only where the page draws one (an ideographic space between a family name and a
// given name, a gap set with a space glyph). Korean sets spaces between its words and keeps them.

#include "platform/pdf2word/engine/model/CjkCharacters.h"
#include "platform/pdf2word/engine/model/PageModel.h"

#include <QHash>
#include <QVector>

namespace p2w {

// The places of the space glyphs a page shows (their origins), to tell them from the gaps that
// the text extraction fills with spaces.
class DrawnSpaces
{
public:
    void add(fz_point origin);
    bool contains(fz_point origin) const;
    bool isEmpty() const { return m_places.isEmpty(); }

private:
    QHash<quint64, int> m_places;
};

// Leaves out each run of spaces between two CJK characters in which no glyph is a drawn space
// (drawn[i] for glyph i; as many marks as glyphs).
void closeCjkGaps(QVector<Glyph>& glyphs, const QVector<bool>& drawn);

// Whether a space between these two characters would break a line of CJK text.
inline bool noSpaceBetween(char32_t before, char32_t after)
{
    return isCjk(before) && isCjk(after);
}

} // namespace p2w
