#include "platform/pdf2word/engine/model/FlowDocument.h"

#include <QMap>
#include <QSet>

namespace p2w {

bool FlowRun::sameLook(const FlowRun& other) const
{
    // A picture is a run of its own.
    return image < 0 && other.image < 0 && font == other.font && qRound(size * 2) == qRound(other.size * 2) && bold == other.bold
           && italic == other.italic && shift == other.shift && color == other.color
           && shading == other.shading;
}

QString hexColor(int rgb)
{
    return QStringLiteral("%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString FlowBlock::text() const
{
    QString result;
    for (const FlowRun& run : runs)
        result += run.text;
    return result;
}

int mostFrequent(const QMap<int, int>& counts)
{
    int best = 0;
    int bestCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

double mainSize(const QList<FlowRun>& runs)
{
    QMap<int, int> charactersBySize; // half points -> characters
    for (const FlowRun& run : runs)
        charactersBySize[qRound(run.size * 2)] += run.text.size();
    return mostFrequent(charactersBySize) / 2.0;
}

double FlowDocument::bodySize() const
{
    QList<FlowRun> runs;
    for (const FlowBlock& block : blocks)
        runs += block.runs;
    return mainSize(runs);
}

QStringList FlowDocument::fontNames() const
{
    QStringList names;
    QSet<QString> seen;
    const auto add = [&](const QList<FlowBlock>& blocks) {
        for (const FlowBlock& block : blocks) {
            for (const FlowRun& run : block.runs) {
                if (!run.font.isEmpty() && !seen.contains(run.font)) {
                    seen.insert(run.font);
                    names << run.font;
                }
            }
        }
    };
    add(blocks);
    for (const FlowTable& table : tables) {
        for (const FlowCell& cell : table.cells)
            add(cell.paragraphs);
    }
    return names;
}

bool FlowDocument::firstPageOwnMargins() const
{
    return (!header.isEmpty() && !header.onFirstPage) || (!footer.isEmpty() && !footer.onFirstPage);
}

FlowPageFormat FlowDocument::formatOf(int block) const
{
    FlowPageFormat format{0, pageSize.isValid() ? pageSize : QSizeF(595, 842), margins};
    for (const FlowPageFormat& change : pageChanges) {
        if (change.first > block)
            break;
        format = change;
    }
    return format;
}

bool FlowPageFormat::sameAs(const FlowPageFormat& other) const
{
    // Sizes and margins as the outputs write them, in twentieths of a point.
    const auto same = [](double a, double b) { return qRound(a * 20) == qRound(b * 20); };
    return same(size.width(), other.size.width()) && same(size.height(), other.size.height())
           && same(margins.left(), other.margins.left()) && same(margins.top(), other.margins.top())
           && same(margins.right(), other.margins.right()) && same(margins.bottom(), other.margins.bottom());
}

} // namespace p2w
