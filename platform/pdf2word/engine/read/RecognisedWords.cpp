#include "platform/pdf2word/engine/read/RecognisedWords.h"

#include "platform/pdf2word/engine/read/Scripts.h"
#include "platform/pdf2word/engine/read/UnmappedText.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

const QString kNotRead = QStringLiteral("OCR read no words in them");

// A word read over glyphs of a run: the glyphs it takes (positions in the run's line).
struct PlacedWord
{
    QString text;
    QVector<int> positions;
    fz_rect box = fz_empty_rect; // the glyphs' boxes on the page
};

struct RunWords
{
    QVector<PlacedWord> words;
    QString reason; // why glyphs no word took are left out
};

fz_point middle(const fz_rect& box)
{
    return fz_make_point((box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2);
}

// The word's letters of the run's script, and the digits and signs every script shares.
QString lettersOf(const QString& word, QChar::Script script)
{
    if (script == QChar::Script_Unknown)
        return word;
    QString kept;
    for (const uint c : word.toUcs4()) {
        const QChar::Script own = scriptOf(char32_t(c));
        if (own == QChar::Script_Unknown || own == script)
            kept += QString::fromUcs4(&c, 1);
    }
    return kept;
}

// The run of the line's runs (ordered by place) that holds position; -1 when none does.
int runAt(const QVector<int>& lineRuns, const QVector<UnmappedRun>& runs, int position)
{
    for (int r : lineRuns) {
        if (runs[r].from <= position && position <= runs[r].to)
            return r;
    }
    return -1;
}

// The glyphs of a recognised word, spread over its box: left to right, or right to left for a
// word of a right-to-left script, as the line's glyphs stand until they are put in read order.
void appendWord(const QString& word, const fz_rect& box, const Glyph& model, QVector<Glyph>* glyphs)
{
    const QVector<uint> characters = word.toUcs4();
    bool rightToLeft = false;
    for (const QChar c : word)
        rightToLeft = rightToLeft || c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    const float step = (box.x1 - box.x0) / std::max(1, characters.size());
    for (int i = 0; i < characters.size(); ++i) {
        Glyph glyph = model;
        glyph.c = char32_t(characters[i]);
        const int place = rightToLeft ? characters.size() - 1 - i : i;
        glyph.box = box;
        glyph.box.x0 = box.x0 + place * step;
        glyph.box.x1 = glyph.box.x0 + step;
        glyph.shift = Shift::Base;
        glyphs->append(glyph);
    }
}

// A space in the model's look over the gap between two boxes on a line.
Glyph spaceBetween(const Glyph& model, const fz_rect& left, const fz_rect& right)
{
    Glyph space = model;
    space.c = U' ';
    space.box.x0 = std::min(left.x1, right.x0);
    space.box.x1 = std::max(left.x1, right.x0);
    space.shift = Shift::Base;
    return space;
}

// Appends glyphs to line, with a space between where letters of two scripts would meet, and one
// space where a run left out stood between two.
void appendParted(QVector<Glyph>* line, QVector<Glyph> glyphs)
{
    if (!line->isEmpty() && !glyphs.isEmpty() && line->back().isSpace() && glyphs.front().isSpace())
        glyphs.removeFirst();
    if (!line->isEmpty() && !glyphs.isEmpty() && !line->back().isSpace() && !glyphs.front().isSpace()) {
        const QChar::Script before = scriptOf(line->back().c);
        const QChar::Script after = scriptOf(glyphs.front().c);
        if (before != QChar::Script_Unknown && after != QChar::Script_Unknown && before != after) {
            const bool leftFirst = middle(line->back().box).x <= middle(glyphs.front().box).x;
            const fz_rect& left = leftFirst ? line->back().box : glyphs.front().box;
            const fz_rect& right = leftFirst ? glyphs.front().box : line->back().box;
            line->append(spaceBetween(line->back(), left, right));
        }
    }
    *line += glyphs;
}

// The run's words as glyphs, in their order along the line.
QVector<Glyph> runGlyphs(const TextLine& line, const UnmappedRun& run, QVector<PlacedWord> words)
{
    std::sort(words.begin(), words.end(), [&line](const PlacedWord& a, const PlacedWord& b) {
        return line.vertical ? a.box.y0 < b.box.y0 : a.box.x0 < b.box.x0;
    });
    QVector<Glyph> glyphs;
    for (int w = 0; w < words.size(); ++w) {
        const Glyph& model = line.glyphs[words[w].positions.front()];
        if (w > 0)
            glyphs.append(spaceBetween(model, words[w - 1].box, words[w].box));
        appendWord(lettersOf(words[w].text, run.script), words[w].box, model, &glyphs);
    }
    return glyphs;
}

// The words of one read picture, each given to the run that holds most of its glyphs.
void takeWords(const GlyphPicture& picture, const QVector<UnmappedRun>& runs, const QVector<int>& lineRuns,
               const QHash<int, int>& positionOf, const TextLine& line, QVector<RunWords>* byRun)
{
    QVector<fz_point> middles;
    for (int g : picture.glyphs) {
        const int position = positionOf.value(g, -1);
        middles.append(position >= 0 ? middle(line.glyphs[position].box) : fz_make_point(-1e9f, -1e9f));
    }
    const QVector<int> over = wordsOverGlyphs(picture, middles);
    QVector<PlacedWord> words(picture.picture.words.size());
    for (int i = 0; i < over.size(); ++i) {
        const int position = positionOf.value(picture.glyphs[i], -1);
        if (over[i] < 0 || position < 0)
            continue;
        words[over[i]].positions.append(position);
        words[over[i]].box = fz_union_rect(words[over[i]].box, line.glyphs[position].box);
    }
    for (int w = 0; w < words.size(); ++w) {
        PlacedWord& word = words[w];
        QHash<int, int> votes;
        int best = -1;
        for (int position : word.positions) {
            const int run = runAt(lineRuns, runs, position);
            if (run >= 0 && ++votes[run] > votes.value(best))
                best = run;
        }
        if (best < 0 || lettersOf(picture.picture.words[w].text, runs[best].script).isEmpty())
            continue;
        word.text = picture.picture.words[w].text;
        (*byRun)[best].words.append(word);
    }
}

} // namespace

QVector<int> wordsOverGlyphs(const GlyphPicture& picture, const QVector<fz_point>& pageMiddles)
{
    const QVector<TextRecognizer::Word>& words = picture.picture.words;
    QVector<int> over(pageMiddles.size(), -1);
    QVector<bool> hasGlyph(words.size(), false);
    QVector<fz_point> middles;
    for (const fz_point& point : pageMiddles)
        middles.append(fz_transform_point(point, picture.toPixels));
    // A glyph goes to the word its middle lies in (the nearest, where word boxes overlap).
    for (int i = 0; i < middles.size(); ++i) {
        float nearest = 1e30f;
        for (int w = 0; w < words.size(); ++w) {
            const QRect& box = words[w].box;
            // A glyph's place may stand a little off its ink: a mark beside a word, a point after it.
            const float across = std::max(2.0f, box.height() / 4.0f);
            const float down = box.height() / 2.0f;
            if (middles[i].x < box.left() - across || middles[i].x > box.right() + 1 + across || middles[i].y < box.top() - down
                || middles[i].y > box.bottom() + 1 + down)
                continue;
            // The word it lies in, else the one whose edge is nearest.
            const float outside = std::max({0.0f, box.left() - middles[i].x, middles[i].x - box.right() - 1});
            const float distance = outside + 1e-3f * std::fabs(middles[i].x - (box.left() + box.right() + 1) / 2.0f);
            if (distance < nearest) {
                nearest = distance;
                over[i] = w;
            }
        }
        if (over[i] >= 0)
            hasGlyph[over[i]] = true;
    }
    // A word over no glyph's middle (a narrow mark read apart) takes the free glyph nearest it.
    for (int w = 0; w < words.size(); ++w) {
        const QRect& box = words[w].box;
        int nearest = -1;
        float distance = box.width() + box.height();
        for (int i = 0; i < middles.size() && !hasGlyph[w]; ++i) {
            const float away = std::fabs(middles[i].x - (box.left() + box.right() + 1) / 2.0f);
            if (over[i] < 0 && away < distance) {
                nearest = i;
                distance = away;
            }
        }
        if (nearest >= 0)
            over[nearest] = w;
    }
    return over;
}

void placeRecognisedWords(const QVector<GlyphPicture>& pictures, const QVector<UnmappedRun>& runs, QVector<TextLine>* lines,
                          QMap<QString, int>* leftOut)
{
    QHash<int, QVector<int>> runsOfLine;
    QVector<RunWords> byRun(runs.size());
    for (int r = 0; r < runs.size(); ++r) {
        runsOfLine[runs[r].line].append(r);
        byRun[r].reason = runs[r].leftOut;
    }
    QHash<int, const GlyphPicture*> pictureOf; // by unmapped glyph
    for (const GlyphPicture& picture : pictures) {
        for (int g : picture.glyphs)
            pictureOf.insert(g, &picture);
        const TextLine& line = (*lines)[picture.line];
        QHash<int, int> positionOf;
        for (int p = 0; p < line.glyphs.size(); ++p) {
            const int index = unmappedIndex(line.glyphs[p].c);
            if (index >= 0)
                positionOf.insert(index, p);
        }
        if (picture.picture.read) {
            takeWords(picture, runs, runsOfLine[picture.line], positionOf, line, &byRun);
            continue;
        }
        for (int g : picture.glyphs) {
            const int run = runAt(runsOfLine[picture.line], runs, positionOf.value(g, -1));
            if (run >= 0 && byRun[run].reason.isEmpty())
                byRun[run].reason = picture.picture.error;
        }
    }
    for (auto it = runsOfLine.cbegin(); it != runsOfLine.cend(); ++it) {
        TextLine& line = (*lines)[it.key()];
        QSet<int> taken;
        for (int r : it.value()) {
            for (const PlacedWord& word : byRun[r].words)
                taken.unite(QSet<int>(word.positions.cbegin(), word.positions.cend()));
        }
        QVector<Glyph> rebuilt;
        int next = 0;
        for (int r : it.value()) {
            const UnmappedRun& run = runs[r];
            int left = 0;
            for (int p = run.from; p <= run.to; ++p) {
                const GlyphPicture* picture = pictureOf.value(unmappedIndex(line.glyphs[p].c));
                if (isUnmappedCharacter(line.glyphs[p].c) && !taken.contains(p) && (!picture || showsInk(*picture, line.glyphs[p].box)))
                    ++left;
            }
            if (left > 0)
                (*leftOut)[byRun[r].reason.isEmpty() ? kNotRead : byRun[r].reason] += left;
            rebuilt += line.glyphs.mid(next, run.from - next);
            appendParted(&rebuilt, runGlyphs(line, run, byRun[r].words));
            next = run.to + 1;
        }
        appendParted(&rebuilt, line.glyphs.mid(next));
        line.glyphs = rebuilt;
    }
}

} // namespace p2w
