#include "platform/pdf2word/engine/read/Accents.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"

#include <QString>

#include <algorithm>

namespace p2w {

namespace {

// The spacing accents typesetters draw apart, and the combining marks they stand for.
struct Accent
{
    char32_t spacing;
    char32_t combining;
};

const Accent kAccents[] = {
    {U'\u00A8', U'\u0308'},
    {U'\u00B4', U'\u0301'},
    {U'`', U'\u0300'},
    {U'\u02C6', U'\u0302'},
    {U'^', U'\u0302'},
    {U'\u02DC', U'\u0303'},
    {U'~', U'\u0303'},
    {U'\u00AF', U'\u0304'},
    {U'\u02C9', U'\u0304'},
    {U'\u02D8', U'\u0306'},
    {U'\u02D9', U'\u0307'},
    {U'\u02DA', U'\u030A'},
    {U'\u02DD', U'\u030B'},
    {U'\u02C7', U'\u030C'},
    {U'\u00B8', U'\u0327'},
    {U'\u02DB', U'\u0328'},
};

char32_t combiningOf(char32_t c)
{
    for (const Accent& accent : kAccents) {
        if (accent.spacing == c)
            return accent.combining;
    }
    return 0;
}

float overlap(const fz_rect& a, const fz_rect& b)
{
    return std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
}

bool middleWithin(const fz_rect& box, const fz_rect& within)
{
    const float middle = (box.x0 + box.x1) / 2;
    return middle > within.x0 && middle < within.x1;
}

// The letter with the mark over or under it as one character; 0 when Unicode has none.
char32_t composed(char32_t letter, char32_t mark)
{
    // The accent takes the place of the dot that a dotless i or j leaves out.
    if (letter == U'\u0131')
        letter = U'i';
    else if (letter == U'\u0237')
        letter = U'j';
    const char32_t pair[2] = {letter, mark};
    const QVector<uint> one = QString::fromUcs4(pair, 2).normalized(QString::NormalizationForm_C).toUcs4();
    return one.size() == 1 ? char32_t(one.front()) : 0;
}

// Composes each accent of the line with the letter beside it that it stands over most.
bool composeLine(TextLine& line)
{
    bool changed = false;
    QVector<Glyph>& glyphs = line.glyphs;
    for (int i = 0; i < glyphs.size(); ++i) {
        const char32_t mark = combiningOf(glyphs[i].c);
        const float width = glyphs[i].box.x1 - glyphs[i].box.x0;
        if (!mark || width <= 0)
            continue;
        int letter = -1;
        float most = readTuning().lines.accentOverShare * width;
        for (int j : {i - 1, i + 1}) {
            if (j < 0 || j >= glyphs.size() || !QChar::isLetter(glyphs[j].c))
                continue;
            const float over = overlap(glyphs[i].box, glyphs[j].box);
            if (over >= most && composed(glyphs[j].c, mark)) {
                most = over;
                letter = j;
            }
        }
        if (letter < 0)
            continue;
        glyphs[letter].c = composed(glyphs[letter].c, mark);
        glyphs.remove(i);
        letter -= letter > i ? 1 : 0;
        // The text extraction took the step back to the accent for a gap: a space standing over
        // the letter is none.
        for (int j : {letter + 1, letter - 1}) {
            if (j >= 0 && j < glyphs.size() && glyphs[j].isSpace() && middleWithin(glyphs[j].box, glyphs[letter].box)) {
                glyphs.remove(j);
                letter -= j < letter ? 1 : 0;
            }
        }
        i = letter;
        changed = true;
    }
    return changed;
}

} // namespace

void composeAccents(QVector<TextLine>& lines)
{
    for (TextLine& line : lines) {
        if (composeLine(line))
            line.measure();
    }
}

} // namespace p2w
