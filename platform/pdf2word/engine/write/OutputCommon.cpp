#include "platform/pdf2word/engine/write/Outputs.h"
#include "platform/pdf2word/engine/write/WriteTuning.h"

namespace p2w {

QString xmlSafe(const QString& text)
{
    QString safe;
    safe.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            safe += c;
            safe += text[++i];
            continue;
        }
        const ushort u = c.unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u < 0xD800) || (u >= 0xE000 && u < 0xFFFE);
        if (allowed)
            safe += c;
    }
    return safe;
}

namespace {

void dropReplacementCharacters(QString& text)
{
    text.remove(QChar(0xFFFD));
}

void dropReplacementCharacters(QList<FlowBlock>& blocks)
{
    for (FlowBlock& block : blocks) {
        for (FlowRun& run : block.runs) {
            dropReplacementCharacters(run.text);
            dropReplacementCharacters(run.font);
        }
    }
}

} // namespace

void dropReplacementCharacters(FlowDocument& document)
{
    dropReplacementCharacters(document.blocks);
    for (FlowTable& table : document.tables) {
        for (FlowCell& cell : table.cells)
            dropReplacementCharacters(cell.paragraphs);
    }
    for (FlowImage& image : document.images)
        dropReplacementCharacters(image.description);
    for (FlowFont& font : document.fonts)
        dropReplacementCharacters(font.name);
    dropReplacementCharacters(document.header.text);
    dropReplacementCharacters(document.footer.text);
    dropReplacementCharacters(document.title);
}

QVector<int> tableCoverage(const FlowTable& table)
{
    const int columns = table.columnWidths.size();
    QVector<int> coverage(table.rows * columns, -1);
    for (int i = 0; i < table.cells.size(); ++i) {
        const FlowCell& cell = table.cells[i];
        for (int r = cell.row; r < qMin(table.rows, cell.row + cell.rowSpan); ++r) {
            for (int c = cell.column; c < qMin(columns, cell.column + cell.columnSpan); ++c)
                coverage[r * columns + c] = i;
        }
    }
    return coverage;
}

QSizeF textArea(const FlowPageFormat& format)
{
    const QSizeF page = format.size.isValid() ? format.size : QSizeF(595, 842);
    const QMarginsF& margins = format.margins;
    return QSizeF(qMax(72.0, page.width() - margins.left() - margins.right()), qMax(72.0, page.height() - margins.top() - margins.bottom()));
}

namespace {

// Sets the area of each table the blocks hold, and of the tables their cells hold, in turn.
void setTableAreas(const FlowDocument& document, const QList<FlowBlock>& blocks, const QSizeF& area, QVector<QSizeF>& areas, int depth)
{
    // Tables hold tables only so deep; a table that named itself inside would hold itself forever.
    const int kDeepest = 64;
    for (const FlowBlock& block : blocks) {
        if (block.kind != FlowBlock::Table || block.table < 0 || block.table >= areas.size() || depth > kDeepest)
            continue;
        areas[block.table] = area;
        for (const FlowCell& cell : document.tables[block.table].cells)
            setTableAreas(document, cell.paragraphs, area, areas, depth + 1);
    }
}

} // namespace

QVector<QSizeF> tableAreas(const FlowDocument& document)
{
    QVector<QSizeF> areas(document.tables.size(), textArea(document.formatOf(0)));
    for (const BlockRange& range : blockRanges(document))
        setTableAreas(document, document.blocks.mid(range.first, range.count), textArea(range.format), areas, 0);
    return areas;
}

QList<double> fittedColumnWidths(const QSizeF& area, const FlowTable& table)
{
    double total = 0;
    for (double width : table.columnWidths)
        total += width;
    const double scale = total > 0 ? qMin(1.0, area.width() / total) : 1.0;
    QList<double> widths;
    for (double width : table.columnWidths)
        widths.append(qMax(1.0, width * scale));
    return widths;
}

QList<BlockRange> blockRanges(const FlowDocument& document)
{
    QList<BlockRange> columnRanges;
    int next = 0;
    for (const FlowSection& section : document.sections) {
        if (section.first > next)
            columnRanges.append({next, section.first - next, nullptr, {}, false});
        columnRanges.append({section.first, section.count, &section, {}, false});
        next = section.first + section.count;
    }
    if (next < document.blocks.size() || columnRanges.isEmpty())
        columnRanges.append({next, int(document.blocks.size()) - next, nullptr, {}, false});
    // Each cut where the pages change format.
    QList<BlockRange> ranges;
    for (const BlockRange& whole : columnRanges) {
        BlockRange range = whole;
        range.format = document.formatOf(range.first);
        for (const FlowPageFormat& change : document.pageChanges) {
            if (change.first <= range.first || change.first >= range.first + range.count)
                continue;
            BlockRange before = range;
            before.count = change.first - range.first;
            ranges.append(before);
            range.count -= before.count;
            range.first = change.first;
            range.format = change;
        }
        ranges.append(range);
    }
    for (int r = 0; r < ranges.size(); ++r)
        ranges[r].newFormat = r > 0 && !ranges[r].format.sameAs(ranges[r - 1].format);
    return ranges;
}

void fittedColumns(const QSizeF& area, const FlowSection& section, QList<double>* widths, QList<double>* gaps)
{
    double total = 0;
    for (double width : section.columnWidths)
        total += width;
    for (double gap : section.gaps)
        total += gap;
    const double scale = total > 0 ? area.width() / total : 1.0;
    widths->clear();
    gaps->clear();
    for (double width : section.columnWidths)
        widths->append(width * scale);
    for (double gap : section.gaps)
        gaps->append(gap * scale);
}

bool exactLineSpacing(const FlowBlock& block)
{
    double largest = 0;
    for (const FlowRun& run : block.runs)
        largest = qMax(largest, run.size);
    return block.lineSpacing > 0 && largest > 0 && block.lineSpacing >= writeTuning().roomyLeading * largest;
}

QString familyName(FlowFont::Family family)
{
    switch (family) {
    case FlowFont::Roman:
        return QStringLiteral("roman");
    case FlowFont::Modern:
        return QStringLiteral("modern");
    case FlowFont::Script:
        return QStringLiteral("script");
    case FlowFont::Decorative:
        return QStringLiteral("decorative");
    case FlowFont::Swiss:
        break;
    }
    return QStringLiteral("swiss");
}

QString pitchName(const FlowFont& font)
{
    return font.fixedPitch ? QStringLiteral("fixed") : QStringLiteral("variable");
}

bool hasRightToLeft(const QString& text)
{
    for (const QChar c : text) {
        const QChar::Direction direction = c.direction();
        if (direction == QChar::DirR || direction == QChar::DirAL)
            return true;
    }
    return false;
}

QSizeF fittedPictureSize(const QSizeF& area, const FlowImage& image)
{
    const double areaWidth = area.width();
    const double areaHeight = area.height();
    double width = qMax(1.0, image.width);
    double height = qMax(1.0, image.height);
    const double scale = qMin(1.0, qMin(areaWidth / width, areaHeight / height));
    return QSizeF(width * scale, height * scale);
}

} // namespace p2w
