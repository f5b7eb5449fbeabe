#include "bench/pdf2word/StructureMeasures.h"

#include <QHash>
#include <QPoint>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

void StructureScores::add(const StructureScores& other)
{
    truthCells += other.truthCells;
    outputCells += other.outputCells;
    matchedTruthCells += other.matchedTruthCells;
    matchedOutputCells += other.matchedOutputCells;
    runningWords += other.runningWords;
    runningWordsInTables += other.runningWordsInTables;
    words += other.words;
    wordsKept += other.wordsKept;
    wordsOnlyInPictures += other.wordsOnlyInPictures;
    pairs += other.pairs;
    pairsInOrder += other.pairsInOrder;
    pictures += other.pictures;
    picturesLost += other.picturesLost;
    picturesShrunk += other.picturesShrunk;
}

namespace StructureMeasures {

namespace {

using Bag = QHash<QString, int>;

// A picture whose sides keep within this factor of the source's shape is that picture.
const double kShapeTolerance = 1.6;
// Written at less than this share of its size (side for side) it is shrunk.
const double kShrunk = 0.85;
// Words a paragraph's first or last words may take, to tell them apart from the rest.
const int kLongestAnchor = 24;
// How far in from a paragraph's edge its first or last words may be looked for.
const int kMostShift = 8;
// A paragraph read whole spans at most this many words of the output: its own, a little more
// (a footnote or a page's margin text between its lines).
const double kSpread = 1.3;
const int kSpreadWords = 25;

bool isIdeograph(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) || (u >= 0xF900 && u <= 0xFAFF);
}

void addTo(Bag* bag, const QStringList& words)
{
    for (const QString& word : words)
        ++(*bag)[word];
}

void takeFrom(Bag* bag, const QStringList& words)
{
    for (const QString& word : words) {
        auto it = bag->find(word);
        if (it != bag->end() && it.value() > 0)
            --it.value();
    }
}

int sizeOf(const Bag& bag)
{
    int size = 0;
    for (int count : bag)
        size += count;
    return size;
}

int sharedCount(const Bag& a, const Bag& b)
{
    int shared = 0;
    for (auto it = a.begin(); it != a.end(); ++it)
        shared += qMin(it.value(), b.value(it.key()));
    return shared;
}

QString cellKey(const QString& text)
{
    return words(text).join(QLatin1Char(' '));
}

// Cells of a table by row, in column order.
struct Row
{
    QVector<QString> keys;
    QVector<int> ids; // the cell's index in its table
};

QVector<Row> rowsOf(const QList<QPair<QPoint, QString>>& cells)
{
    int rows = 0;
    for (const auto& cell : cells)
        rows = qMax(rows, cell.first.y() + 1);
    QVector<QList<QPair<int, int>>> order(rows); // column, cell index
    for (int i = 0; i < cells.size(); ++i)
        order[cells[i].first.y()].append({cells[i].first.x(), i});
    QVector<Row> result(rows);
    for (int r = 0; r < rows; ++r) {
        std::sort(order[r].begin(), order[r].end());
        for (const auto& place : order[r]) {
            result[r].keys.append(cellKey(cells[place.second].second));
            result[r].ids.append(place.second);
        }
    }
    return result;
}

// The cells of one output row matched to one source row: the longest run of equal texts in
// order, source cells already matched left out. Returns (output cell, source cell) pairs.
QVector<QPair<int, int>> matchRow(const Row& output, const QVector<bool>& outputTaken, const Row& source, const QVector<bool>& sourceTaken)
{
    const int n = output.keys.size();
    const int m = source.keys.size();
    std::vector<std::vector<int>> length(n + 1, std::vector<int>(m + 1, 0));
    auto equal = [&](int i, int j) {
        return !outputTaken[output.ids[i]] && !sourceTaken[source.ids[j]] && !output.keys[i].isEmpty() && output.keys[i] == source.keys[j];
    };
    for (int i = n - 1; i >= 0; --i) {
        for (int j = m - 1; j >= 0; --j)
            length[i][j] = equal(i, j) ? length[i + 1][j + 1] + 1 : std::max(length[i + 1][j], length[i][j + 1]);
    }
    QVector<QPair<int, int>> pairs;
    for (int i = 0, j = 0; i < n && j < m;) {
        if (equal(i, j)) {
            pairs.append({output.ids[i], source.ids[j]});
            ++i;
            ++j;
        } else if (length[i + 1][j] >= length[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairs;
}

// The output table's rows aligned with the source table's, in order, each row with at most one:
// the alignment that matches the most cells. Returns (output cell, source cell) pairs.
QVector<QPair<int, int>> alignTable(const QVector<Row>& output, const QVector<bool>& outputTaken, const QVector<Row>& source,
                                    const QVector<bool>& sourceTaken)
{
    const int n = output.size();
    const int m = source.size();
    std::vector<std::vector<QVector<QPair<int, int>>>> rowPairs(n, std::vector<QVector<QPair<int, int>>>(m));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j)
            rowPairs[i][j] = matchRow(output[i], outputTaken, source[j], sourceTaken);
    }
    std::vector<std::vector<int>> best(n + 1, std::vector<int>(m + 1, 0));
    for (int i = n - 1; i >= 0; --i) {
        for (int j = m - 1; j >= 0; --j)
            best[i][j] = std::max({best[i + 1][j], best[i][j + 1], best[i + 1][j + 1] + int(rowPairs[i][j].size())});
    }
    QVector<QPair<int, int>> pairs;
    for (int i = 0, j = 0; i < n && j < m;) {
        if (!rowPairs[i][j].isEmpty() && best[i][j] == best[i + 1][j + 1] + rowPairs[i][j].size()) {
            pairs += rowPairs[i][j];
            ++i;
            ++j;
        } else if (best[i][j] == best[i + 1][j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairs;
}

void measureCells(const StructureTruth& truth, const DocxStructure& docx, StructureScores* scores, Bag* unmatchedOutput,
                  Bag* unmatchedSource)
{
    QVector<QVector<Row>> sources;
    QVector<QVector<bool>> sourceTaken;
    for (const auto& table : truth.tables) {
        QList<QPair<QPoint, QString>> cells;
        for (const auto& cell : table) {
            cells.append({QPoint(cell.column, cell.row), cell.text});
            scores->truthCells += cellKey(cell.text).isEmpty() ? 0 : 1;
        }
        sources.append(rowsOf(cells));
        sourceTaken.append(QVector<bool>(table.size(), false));
    }
    for (const auto& table : docx.tables) {
        QList<QPair<QPoint, QString>> cells;
        for (const auto& cell : table) {
            cells.append({QPoint(cell.column, cell.row), cell.text});
            scores->outputCells += cellKey(cell.text).isEmpty() ? 0 : 1;
        }
        const QVector<Row> forward = rowsOf(cells);
        QVector<Row> mirrored = forward;
        for (Row& row : mirrored) {
            std::reverse(row.keys.begin(), row.keys.end());
            std::reverse(row.ids.begin(), row.ids.end());
        }
        QVector<bool> taken(table.size(), false);
        // A table made of two source tables matches each of them in turn (rows out of order in
        // one source table do not match twice).
        QVector<bool> matchedHere(sources.size(), false);
        for (int round = 0; round < sources.size(); ++round) {
            QVector<QPair<int, int>> best;
            int bestSource = -1;
            for (int s = 0; s < sources.size(); ++s) {
                if (matchedHere[s])
                    continue;
                for (const QVector<Row>* rows : {static_cast<const QVector<Row>*>(&forward), static_cast<const QVector<Row>*>(&mirrored)}) {
                    const QVector<QPair<int, int>> pairs = alignTable(*rows, taken, sources[s], sourceTaken[s]);
                    if (pairs.size() > best.size()) {
                        best = pairs;
                        bestSource = s;
                    }
                }
            }
            if (best.isEmpty())
                break;
            matchedHere[bestSource] = true;
            for (const auto& pair : best) {
                taken[pair.first] = true;
                sourceTaken[bestSource][pair.second] = true;
            }
            scores->matchedOutputCells += best.size();
            scores->matchedTruthCells += best.size();
        }
        for (int i = 0; i < table.size(); ++i) {
            if (!taken[i])
                addTo(unmatchedOutput, words(table[i].text));
        }
    }
    for (int t = 0; t < truth.tables.size(); ++t) {
        for (int i = 0; i < truth.tables[t].size(); ++i) {
            if (!sourceTaken[t][i])
                addTo(unmatchedSource, words(truth.tables[t][i].text));
        }
    }
}

// Where needle occurs in haystack: the number of times, and the first place at or after from
// (or the first place of all when none is); -1 when it does not occur.
int occurrences(const QStringList& haystack, const QStringList& needle, int from, int* place)
{
    int count = 0;
    *place = -1;
    if (needle.isEmpty())
        return 0;
    for (int i = 0; i + needle.size() <= haystack.size(); ++i) {
        int k = 0;
        while (k < needle.size() && haystack[i + k] == needle[k])
            ++k;
        if (k < needle.size())
            continue;
        ++count;
        if (*place < 0 || (*place < from && i >= from))
            *place = i;
    }
    return count;
}

void measureOrder(const StructureTruth& truth, const DocxStructure& docx, StructureScores* scores)
{
    QList<QStringList> flow; // the running text's paragraphs, in order
    QStringList all;         // every text of the source, a break between texts
    const QString gap = QStringLiteral("\x01");
    for (const auto& text : truth.texts) {
        const QStringList textWords = words(text.text);
        if (StructureTruth::isFlow(text.kind) && !textWords.isEmpty())
            flow.append(textWords);
        all << gap << textWords;
    }
    for (const auto& table : truth.tables) {
        for (const auto& cell : table)
            all << gap << words(cell.text);
    }
    QStringList output;
    for (const QString& paragraph : docx.paragraphs)
        output += words(paragraph);
    // A paragraph's first (last) words, as many as it takes to name one place of the source:
    // found in the output at the first place after from, or at the first place when none is
    // after it (a heading also listed in the contents). A word the output misspells there (a
    // ligature read backwards) moves the words looked for further in. Returns where the
    // paragraph starts (ends) in the output, -1 when not found.
    auto locate = [&](const QStringList& paragraph, bool atStart, int from) {
        for (int shift = 0; shift <= kMostShift && shift < paragraph.size(); ++shift) {
            const QStringList rest = atStart ? paragraph.mid(shift) : paragraph.mid(0, paragraph.size() - shift);
            for (int length = qMin(4, int(rest.size()));; ++length) {
                const QStringList anchor = atStart ? rest.mid(0, length) : rest.mid(rest.size() - length);
                int place = -1;
                if (occurrences(all, anchor, 0, &place) > 1 && length < qMin(kLongestAnchor, int(rest.size())))
                    continue;
                occurrences(output, anchor, atStart ? from + shift : from - length + 1, &place);
                if (place >= 0)
                    return atStart ? qMax(0, place - shift) : place + length - 1 + shift;
                break;
            }
        }
        return -1;
    };
    int previousEnd = -1;
    int previousStart = -1;
    int previousSize = 0;
    for (int i = 0; i < flow.size(); ++i) {
        const int start = locate(flow[i], true, previousEnd + 1);
        const int end = locate(flow[i], false, qMax(start, 0));
        if (i > 0) {
            ++scores->pairs;
            // The paragraph before is read whole, its words not spread among others' (lines of
            // columns read across, a table's cells), and ends before this one starts.
            const bool whole = previousStart >= 0 && previousEnd >= previousStart
                               && previousEnd - previousStart + 1 <= kSpread * previousSize + kSpreadWords;
            if (whole && start > previousEnd)
                ++scores->pairsInOrder;
        }
        previousStart = start;
        previousEnd = end;
        previousSize = flow[i].size();
    }
}

void measurePictures(const StructureTruth& truth, const DocxStructure& docx, StructureScores* scores)
{
    const QSizeF area = docx.textArea.isValid() && !docx.textArea.isEmpty() ? docx.textArea : QSizeF(481.9, 728.5);
    QVector<QSizeF> expected;
    for (const auto& picture : truth.pictures) {
        const double fit = std::min({1.0, area.width() / qMax(1.0, picture.width), area.height() / qMax(1.0, picture.height)});
        expected.append(QSizeF(picture.width * fit, picture.height * fit));
    }
    QVector<int> order(expected.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return expected[a].width() * expected[a].height() > expected[b].width() * expected[b].height();
    });
    QVector<bool> used(docx.pictures.size(), false);
    for (int index : order) {
        const QSizeF want = expected[index];
        ++scores->pictures;
        int best = -1;
        double bestScale = 0;
        for (int i = 0; i < docx.pictures.size(); ++i) {
            const auto& have = docx.pictures[i];
            if (used[i] || have.width <= 0 || have.height <= 0 || want.isEmpty())
                continue;
            const double shape = (have.width / have.height) / (want.width() / want.height());
            if (shape > kShapeTolerance || shape < 1 / kShapeTolerance)
                continue;
            const double scale = std::sqrt(have.width * have.height / (want.width() * want.height()));
            if (best < 0 || std::abs(std::log(scale)) < std::abs(std::log(bestScale))) {
                best = i;
                bestScale = scale;
            }
        }
        if (best < 0) {
            ++scores->picturesLost;
            continue;
        }
        used[best] = true;
        scores->picturesShrunk += bestScale < kShrunk ? 1 : 0;
    }
}

} // namespace

QStringList words(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList result;
    for (const QString& word : text.normalized(QString::NormalizationForm_KC).split(separators, Qt::SkipEmptyParts)) {
        QString piece;
        for (const QChar c : word) {
            if (!isIdeograph(c) && !(c.unicode() >= 0x3040 && c.unicode() <= 0x30FF)) {
                piece += c;
                continue;
            }
            if (!piece.isEmpty())
                result << piece;
            piece.clear();
            result << QString(c);
        }
        if (!piece.isEmpty())
            result << piece;
    }
    return result;
}

StructureScores measure(const StructureTruth& truth, const DocxStructure& docx)
{
    StructureScores scores;
    Bag unmatchedOutput;
    Bag unmatchedSource;
    measureCells(truth, docx, &scores, &unmatchedOutput, &unmatchedSource);

    Bag running;
    Bag source; // the words a reader reads as text: all but the figures' labels
    Bag notRunning;
    for (const auto& text : truth.texts) {
        const QStringList textWords = words(text.text);
        if (StructureTruth::isRunning(text.kind))
            addTo(&running, textWords);
        else
            addTo(&notRunning, textWords);
        if (text.kind != QLatin1String("label"))
            addTo(&source, textWords);
    }
    for (const auto& table : truth.tables) {
        for (const auto& cell : table)
            addTo(&source, words(cell.text));
    }
    // Words in cells that are no source cell, less those that are another kind of text's (a
    // source cell split or joined, a contents line, a label): running text in a table.
    for (auto it = unmatchedSource.begin(); it != unmatchedSource.end(); ++it)
        notRunning[it.key()] += it.value();
    Bag inTables = unmatchedOutput;
    for (auto it = notRunning.begin(); it != notRunning.end(); ++it) {
        auto found = inTables.find(it.key());
        if (found != inTables.end())
            found.value() = qMax(0, found.value() - it.value());
    }
    scores.runningWords = sizeOf(running);
    scores.runningWordsInTables = sharedCount(inTables, running);

    QStringList text;
    for (const QString& paragraph : docx.paragraphs + docx.otherText)
        text += words(paragraph);
    Bag missing = source;
    takeFrom(&missing, text);
    Bag described;
    for (const auto& picture : docx.pictures)
        addTo(&described, words(picture.description));
    scores.words = sizeOf(source);
    scores.wordsKept = scores.words - sizeOf(missing);
    scores.wordsOnlyInPictures = sharedCount(missing, described);

    measureOrder(truth, docx, &scores);
    measurePictures(truth, docx, &scores);
    return scores;
}

} // namespace StructureMeasures
