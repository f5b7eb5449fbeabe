#include "platform/pdf2word/engine/read/UnmappedRuns.h"

#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/read/Scripts.h"
#include "platform/pdf2word/engine/read/UnmappedText.h"

namespace p2w {

namespace {

// The script of the nearest letter from glyph `from` in direction step, skipping glyphs without a
// map and, when look >= 0, glyphs of other looks.
QChar::Script nearestScript(const QVector<Glyph>& glyphs, int from, int step, int look)
{
    for (int i = from; i >= 0 && i < glyphs.size(); i += step) {
        const Glyph& glyph = glyphs[i];
        if (isUnmappedCharacter(glyph.c) || (look >= 0 && glyph.look != look))
            continue;
        const QChar::Script script = scriptOf(glyph.c);
        if (script != QChar::Script_Unknown)
            return script;
    }
    return QChar::Script_Unknown;
}

} // namespace

QVector<UnmappedRun> findUnmappedRuns(fz_context* ctx, const QVector<TextLine>& lines, const QVector<UnmappedGlyph>& glyphs)
{
    QVector<UnmappedRun> runs;
    for (int l = 0; l < lines.size(); ++l) {
        const QVector<Glyph>& line = lines[l].glyphs;
        for (int i = 0; i < line.size(); ++i) {
            if (!isUnmappedCharacter(line[i].c))
                continue;
            UnmappedRun run;
            run.line = l;
            run.from = run.to = i;
            run.look = line[i].look;
            // Spaces between unmapped glyphs belong to the run.
            for (int j = i + 1; j < line.size() && (line[j].isSpace() || isUnmappedCharacter(line[j].c)); ++j) {
                if (!line[j].isSpace())
                    run.to = j;
            }
            const int first = unmappedIndex(line[i].c);
            if (first >= 0 && first < glyphs.size())
                run.font = QString::fromUtf8(fz_font_name(ctx, glyphs[first].font));
            runs.append(run);
            i = run.to;
        }
    }
    return runs;
}

int unmappedGlyphCount(const TextLine& line, const UnmappedRun& run)
{
    int count = 0;
    for (int i = run.from; i <= run.to; ++i)
        count += isUnmappedCharacter(line.glyphs[i].c) ? 1 : 0;
    return count;
}

void FontScripts::addLetters(fz_context* ctx, const PageGraphics& graphics)
{
    for (auto font = graphics.mappedLetters.cbegin(); font != graphics.mappedLetters.cend(); ++font) {
        QHash<int, int>& letters = m_letters[QString::fromUtf8(fz_font_name(ctx, const_cast<fz_font*>(font.key())))];
        for (auto script = font.value().cbegin(); script != font.value().cend(); ++script)
            letters[script.key()] += script.value();
    }
}

QChar::Script FontScripts::scriptOf(const QString& font) const
{
    return mostScript(m_letters.value(font));
}

QChar::Script mostScript(const QHash<int, int>& letters)
{
    int all = 0;
    int most = 0;
    QChar::Script script = QChar::Script_Unknown;
    for (auto it = letters.cbegin(); it != letters.cend(); ++it) {
        all += it.value();
        if (it.value() > most) {
            most = it.value();
            script = QChar::Script(it.key());
        }
    }
    return all >= readTuning().ocr.leastLetters && most >= readTuning().ocr.oneScript * all ? script : QChar::Script_Unknown;
}

QChar::Script pageScript(const PageGraphics& graphics)
{
    QHash<int, int> letters;
    for (const QHash<int, int>& font : graphics.mappedLetters) {
        for (auto it = font.cbegin(); it != font.cend(); ++it)
            letters[it.key()] += it.value();
    }
    return mostScript(letters);
}

QChar::Script neighbourScript(const TextLine& line, const UnmappedRun& run, bool sameLook)
{
    const int look = sameLook ? run.look : -1;
    const QChar::Script before = nearestScript(line.glyphs, run.from - 1, -1, look);
    const QChar::Script after = nearestScript(line.glyphs, run.to + 1, 1, look);
    if (before == QChar::Script_Unknown)
        return after;
    return after == QChar::Script_Unknown || after == before ? before : QChar::Script_Unknown;
}

} // namespace p2w
