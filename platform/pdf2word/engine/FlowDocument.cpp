#include "FlowDocument.h"

#include <QMap>

namespace p2w {

bool FlowRun::sameLook(const FlowRun& other) const
{
    return font == other.font && qRound(size * 2) == qRound(other.size * 2) && bold == other.bold
           && italic == other.italic;
}

QString FlowBlock::text() const
{
    QString result;
    for (const FlowRun& run : runs)
        result += run.text;
    return result;
}

double mainSize(const QList<FlowRun>& runs)
{
    QMap<int, int> charactersBySize; // half points -> characters
    for (const FlowRun& run : runs)
        charactersBySize[qRound(run.size * 2)] += run.text.size();
    int best = 0;
    int bestCount = 0;
    for (auto it = charactersBySize.cbegin(); it != charactersBySize.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best / 2.0;
}

double FlowDocument::bodySize() const
{
    QList<FlowRun> runs;
    for (const FlowBlock& block : blocks)
        runs += block.runs;
    return mainSize(runs);
}

namespace {

bool lookChangesAt(const QList<FlowRun>& runs, int run, int position)
{
    // The break is the last character of its run and the next run looks different.
    if (position != runs[run].text.size() - 1 || run + 1 >= runs.size())
        return false;
    return qRound(runs[run].size * 2) != qRound(runs[run + 1].size * 2) || runs[run].bold != runs[run + 1].bold;
}

// Text set clearly larger or smaller than the text before it is a line of its own (a heading),
// even where the source marked no line break.
bool sizeJumps(const FlowRun& before, const FlowRun& after)
{
    const double larger = qMax(before.size, after.size);
    return larger > 0 && qAbs(before.size - after.size) >= 0.2 * larger;
}

void joinLines(FlowRun& run, const QChar* previous)
{
    QString joined;
    joined.reserve(run.text.size());
    QChar last = previous ? *previous : QChar();
    for (const QChar c : run.text) {
        if (c == QLatin1Char('\n')) {
            if (!last.isNull() && !last.isSpace() && last != QLatin1Char('-')) {
                joined += QLatin1Char(' ');
                last = QLatin1Char(' ');
            }
            continue;
        }
        joined += c;
        last = c;
    }
    run.text = joined;
}

void finishParagraph(FlowBlock& block, QList<FlowBlock>& out)
{
    for (int i = 0; i < block.runs.size(); ++i) {
        const QChar previous = i > 0 && !block.runs[i - 1].text.isEmpty() ? block.runs[i - 1].text.back() : QChar();
        joinLines(block.runs[i], previous.isNull() ? nullptr : &previous);
    }
    // Neighbouring runs of one look become one; blank edges go.
    QList<FlowRun> merged;
    for (const FlowRun& run : block.runs) {
        if (run.text.isEmpty())
            continue;
        if (!merged.isEmpty() && merged.back().sameLook(run))
            merged.back().text += run.text;
        else
            merged.append(run);
    }
    while (!merged.isEmpty()) {
        QString& text = merged.back().text;
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        if (!text.isEmpty())
            break;
        merged.removeLast();
    }
    while (!merged.isEmpty()) {
        QString& text = merged.front().text;
        int blank = 0;
        while (blank < text.size() && text[blank].isSpace())
            ++blank;
        text.remove(0, blank);
        if (!text.isEmpty())
            break;
        merged.removeFirst();
    }
    block.runs = merged;
    if (!block.runs.isEmpty())
        out.append(block);
}

} // namespace

void tidyParagraphs(QList<FlowBlock>& blocks)
{
    QList<FlowBlock> out;
    for (const FlowBlock& block : blocks) {
        if (block.kind != FlowBlock::Paragraph) {
            out.append(block);
            continue;
        }
        FlowBlock current = block;
        current.runs.clear();
        for (int r = 0; r < block.runs.size(); ++r) {
            const FlowRun& run = block.runs[r];
            if (r > 0 && !current.runs.isEmpty() && sizeJumps(block.runs[r - 1], run)) {
                finishParagraph(current, out);
                current.runs.clear();
            }
            FlowRun piece = run;
            piece.text.clear();
            for (int i = 0; i < run.text.size(); ++i) {
                piece.text += run.text[i];
                if (run.text[i] == QLatin1Char('\n') && lookChangesAt(block.runs, r, i)) {
                    current.runs.append(piece);
                    finishParagraph(current, out);
                    current.runs.clear();
                    piece.text.clear();
                }
            }
            if (!piece.text.isEmpty())
                current.runs.append(piece);
        }
        finishParagraph(current, out);
    }
    blocks = out;
}

QHash<QString, int> countWords(const QString& text)
{
    QHash<QString, int> counts;
    const QString unfolded = text.normalized(QString::NormalizationForm_KC);
    QString word;
    for (const QChar c : unfolded) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            ++counts[word];
            word.clear();
        }
    }
    if (!word.isEmpty())
        ++counts[word];
    return counts;
}

double wordShare(const QHash<QString, int>& reference, const QHash<QString, int>& other)
{
    qint64 total = 0;
    qint64 found = 0;
    for (auto it = reference.cbegin(); it != reference.cend(); ++it) {
        total += it.value();
        found += qMin(it.value(), other.value(it.key()));
    }
    return total == 0 ? 1.0 : double(found) / double(total);
}

QString plainText(const QList<FlowBlock>& blocks)
{
    QString text;
    for (const FlowBlock& block : blocks) {
        if (block.kind == FlowBlock::Paragraph)
            text += block.text() + QLatin1Char('\n');
    }
    return text;
}

} // namespace p2w
