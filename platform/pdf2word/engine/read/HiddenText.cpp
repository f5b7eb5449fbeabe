#include "platform/pdf2word/engine/read/HiddenText.h"

#include "platform/pdf2word/engine/model/FlowDocument.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"
#include "platform/pdf2word/engine/read/CjkText.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/read/ScanFigures.h"
#include "platform/pdf2word/engine/read/Scripts.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

bool continuesLayerLine(const TextLine& line, const TextLine& piece)
{
    if (line.vertical || piece.vertical || line.glyphs.isEmpty() || piece.glyphs.isEmpty())
        return false;
    const float larger = std::max(line.size, piece.size);
    const float smaller = std::min(line.size, piece.size);
    return smaller >= readTuning().lines.sameLineSizes * larger && std::fabs(line.baseline - piece.baseline) <= readTuning().lines.sameBaseline * smaller
           && piece.box.x0 > line.box.x0 && piece.box.x0 <= line.box.x1 + readTuning().hidden.pieceGap * larger;
}

bool isTall(const fz_rect& box)
{
    return bandOf(box.y1) - bandOf(box.y0) > kMostBands;
}

bool middleInside(const fz_rect& box, const fz_rect& region)
{
    return fz_is_point_inside_rect(fz_make_point((box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2), region);
}

// Whether the page prints a paragraph of its own.
bool printsParagraph(const QVector<TextLine>& shown)
{
    QVector<const TextLine*> lines;
    for (const TextLine& line : shown) {
        if (!line.vertical)
            lines.append(&line);
    }
    std::sort(lines.begin(), lines.end(), [](const TextLine* a, const TextLine* b) { return a->baseline < b->baseline; });
    for (int i = 0; i + 1 < lines.size(); ++i) {
        for (int j = i + 1; j < lines.size() && lines[j]->baseline - lines[i]->baseline <= readTuning().hidden.paragraphPitch * lines[i]->size; ++j) {
            const bool under = lines[j]->box.x0 < lines[i]->box.x1 && lines[i]->box.x0 < lines[j]->box.x1;
            if (under && lines[j]->baseline > lines[i]->baseline && wordCount(*lines[i]) + wordCount(*lines[j]) >= readTuning().hidden.ownParagraphWords)
                return true;
        }
    }
    return false;
}

bool partsWordsWithSpaces(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Unknown:
    case QChar::Script_Han:
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
        return false;
    default:
        return true;
    }
}

// Whether most of the layer's words are words of the languages that read its script; true when
// there are too few to tell, or no dictionary to tell by.
bool wordsAreWords(const QVector<TextLine>& layer, TextRecognizer* recognizer)
{
    if (!recognizer)
        return true;
    QStringList words;
    QMap<int, int> scripts; // letters by script
    for (const TextLine& line : layer) {
        for (const QString& word : line.text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            // Punctuation around a word is none of it.
            int from = 0;
            int to = word.size();
            while (from < to && !word[from].isLetterOrNumber())
                ++from;
            while (to > from && !word[to - 1].isLetterOrNumber())
                --to;
            const QString core = word.mid(from, to - from);
            const QVector<uint> letters = core.toUcs4();
            if (letters.size() < 2 || !std::all_of(letters.begin(), letters.end(), [](uint c) { return QChar::isLetter(c); }))
                continue;
            words << core;
            ++scripts[scriptOf(letters.front())];
        }
    }
    if (words.size() < readTuning().hidden.leastJudgedWords)
        return true;
    const QChar::Script script = QChar::Script(mostFrequent(scripts));
    const QString languages = languagesForScript(script, recognizer->languages(), recognizer->installed());
    if (!partsWordsWithSpaces(script) || languages.isEmpty())
        return true;
    const int known = recognizer->dictionaryWords(words, languages);
    return known < 0 || known >= readTuning().hidden.leastKnownShare * words.size();
}

} // namespace

void keepLayersUnread(fz_context* ctx, const QVector<TextLine>& shown, QVector<TextLine>* hidden, QVector<bool>* scans,
                      PageGraphics* graphics, TextRecognizer* recognizer, const fz_cookie* cookie)
{
    const bool ownParagraph = printsParagraph(shown);
    QVector<bool> unread(hidden->size(), false);
    for (int s = 0; s < graphics->shapes.size() && !aborted(cookie); ++s) {
        if (!scans->value(s))
            continue;
        Shape& scan = graphics->shapes[s];
        QVector<int> on;
        QVector<TextLine> layer;
        for (int i = 0; i < hidden->size(); ++i) {
            if (!unread[i] && middleInside((*hidden)[i].box, scan.box)) {
                on.append(i);
                layer.append((*hidden)[i]);
            }
        }
        int count = 0;
        for (const TextLine& line : layer)
            count += wordCount(line);
        if (!ownParagraph && count < readTuning().hidden.leastJudgedWords)
            continue;
        if (!ownParagraph) {
            const float inked = wordsOnInk(ctx, scan, layer, cookie);
            if ((inked < 0 || inked >= readTuning().hidden.leastInkedShare) && wordsAreWords(layer, recognizer))
                continue;
        }
        (*scans)[s] = false;
        QStringList words;
        for (int i : on) {
            unread[i] = true;
            words << (*hidden)[i].text();
        }
        scan.description = words.join(QLatin1Char(' '));
        scan.box = inkedPart(ctx, scan, cookie);
    }
    QVector<TextLine> kept;
    for (int i = 0; i < hidden->size(); ++i) {
        if (!unread[i])
            kept.append((*hidden)[i]);
    }
    *hidden = kept;
}

QVector<TextLine> hiddenLinesToKeep(const QVector<TextLine>& shown, const QVector<TextLine>& hidden)
{
    QHash<int, QVector<int>> shownByBand;
    QVector<int> tallShown;
    for (int i = 0; i < shown.size(); ++i) {
        if (isTall(shown[i].box)) {
            tallShown.append(i);
            continue;
        }
        for (int band = bandOf(shown[i].box.y0); band <= bandOf(shown[i].box.y1); ++band)
            shownByBand[band].append(i);
    }
    QVector<TextLine> kept;
    for (const TextLine& line : hidden) {
        const float enough = readTuning().hidden.repeatedShare * area(line.box);
        float covered = 0;
        QSet<int> counted;
        const auto count = [&](int i) {
            if (covered >= enough || counted.contains(i))
                return;
            counted.insert(i);
            covered += area(fz_intersect_rect(shown[i].box, line.box));
        };
        if (isTall(line.box)) {
            for (int i = 0; i < shown.size() && covered < enough; ++i)
                count(i);
        } else {
            for (int i : tallShown)
                count(i);
            for (int band = bandOf(line.box.y0); band <= bandOf(line.box.y1) && covered < enough; ++band) {
                for (int i : shownByBand.value(band))
                    count(i);
            }
        }
        if (covered < enough || enough <= 0)
            kept.append(line);
    }
    return kept;
}

void joinLayerPieces(QVector<TextLine>& lines)
{
    QVector<TextLine> joined;
    joined.reserve(lines.size());
    for (const TextLine& piece : lines) {
        if (joined.isEmpty() || !continuesLayerLine(joined.back(), piece)) {
            joined.append(piece);
            continue;
        }
        TextLine& line = joined.back();
        // The OCR engine's space between the two words, which the split cut off.
        if (!noSpaceBetween(line.glyphs.back().c, piece.glyphs.front().c))
            line.glyphs.append(spaceBetween(line.glyphs.back(), piece.glyphs.front()));
        line.glyphs += piece.glyphs;
        line.measure();
    }
    lines = joined;
}

QVector<bool> scannedPictures(const QVector<TextLine>& keptHidden, fz_rect mediabox, const PageGraphics& graphics)
{
    QVector<bool> scanned(graphics.shapes.size(), false);
    if (keptHidden.isEmpty())
        return scanned;
    for (int s = 0; s < graphics.shapes.size(); ++s) {
        const Shape& shape = graphics.shapes[s];
        if (shape.kind != Shape::Picture)
            continue;
        float text = 0;
        for (const TextLine& line : keptHidden) {
            if (middleInside(line.box, shape.box))
                text += area(fz_intersect_rect(line.box, shape.box));
        }
        const bool wholePage = area(shape.box) >= readTuning().hidden.pageShare * area(mediabox);
        scanned[s] = text > 0 && (wholePage || text >= readTuning().hidden.scannedShare * area(shape.box));
    }
    return scanned;
}

} // namespace p2w
