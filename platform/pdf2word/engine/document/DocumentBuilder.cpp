#include "platform/pdf2word/engine/document/DocumentBuilder.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace p2w {

namespace {

const QChar kSoftHyphen(0x00AD);
// The margins the document keeps from the source, in points: at least a quarter inch (a picture
// printed to the page's edge gives no margin), at most an inch and a quarter.
const double kLeastMargin = 18;
const double kMostMargin = 90;
const double kLastLineRoom = 6;
// A page whose body ends this share of the page's height above where the pages usually end, or
// with room for the next page's first item and kLinesToSpare lines more (of kUsualSize points
// where the item is no paragraph), was ended on purpose: the next starts a page.
const double kShortPage = 0.2;
const double kLinesToSpare = 3;
const double kUsualSize = 12;
// Lines further apart than this many times their size are not kept so (text set double is 2.3).
const float kMostPitch = 3;

bool isHyphen(QChar c)
{
    return c == QLatin1Char('-') || c == QChar(0x2010) || c == kSoftHyphen;
}

bool isDash(QChar c)
{
    return c == QChar(0x2013) || c == QChar(0x2014) || c == QChar(0x2012);
}

bool isWide(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) || (u >= 0xF900 && u <= 0xFAFF)
           || (u >= 0xFF00 && u <= 0xFFEF);
}

bool endsSentence(const QString& text)
{
    for (int i = text.size() - 1; i >= 0; --i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"') || c == QLatin1Char(')') || c == QChar(0x201D) || c == QChar(0x2019) || c.isSpace())
            continue;
        return c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?') || c == QLatin1Char(':')
               || c == QChar(0x3002) || c == QChar(0x061F) || c == QChar(0x06D4);
    }
    return true;
}

QString paragraphText(const QList<QList<FlowRun>>& lines)
{
    QStringList texts;
    for (const QList<FlowRun>& line : lines) {
        QString text;
        for (const FlowRun& run : line)
            text += run.text;
        texts << text;
    }
    return texts.join(QLatin1Char(' '));
}

// The distance between the baselines of a paragraph's lines (the middle one of its lines'), as
// its lines are set apart; 0 for a paragraph of one line, or lines set further apart than text is
// (a paragraph in name only).
float linePitch(const QVector<TextLine>& lines)
{
    QVector<float> pitches;
    for (int i = 1; i < lines.size(); ++i)
        pitches.append(lines[i].baseline - lines[i - 1].baseline);
    if (pitches.isEmpty())
        return 0;
    std::sort(pitches.begin(), pitches.end());
    const float pitch = pitches[pitches.size() / 2];
    const float size = lines.front().size;
    return pitch > 0 && pitch <= kMostPitch * size ? pitch : 0;
}

// A margin line that is only a page number: "12", "- 12 -", "Page 3 of 9", "iv".
bool isPageNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^(page|seite|p\\.)?\\s*[-\\x{2013}\\x{2014}(\\[]?\\s*(\\d+|[ivxlcdm]+)\\s*[-\\x{2013}\\x{2014})\\]]?"
                       "(\\s*(of|/|von)\\s*\\d+)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return number.match(text.trimmed()).hasMatch();
}

// The text of a margin line with its numbers blanked: a running head with its page number is
// the same on every page.
QString marginKey(const QString& text)
{
    QString key;
    for (const QChar c : text.simplified().toLower())
        key += c.isDigit() ? QLatin1Char('#') : c;
    return key;
}

} // namespace

DocumentBuilder::DocumentBuilder(const Looks& looks)
    : m_looks(looks)
{
}

QList<FlowRun> DocumentBuilder::runsOf(const TextLine& line)
{
    QList<FlowRun> runs;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.isSpace()) {
            if (runs.isEmpty())
                continue;
            // The space after an index or exponent sits on the baseline.
            if (runs.back().shift != 0) {
                FlowRun base = runs.back();
                base.shift = 0;
                base.size = line.size;
                base.text.clear();
                runs.append(base);
            }
            runs.back().text += QLatin1Char(' ');
            continue;
        }
        FlowRun look;
        if (glyph.look >= 0) {
            const Look& font = m_looks[glyph.look];
            look.font = font.font;
            look.bold = font.bold;
            look.italic = font.italic;
        }
        // Raised and lowered text keeps the size of its line; the outputs make it smaller.
        look.shift = int(glyph.shift);
        look.color = glyph.color;
        look.size = glyph.shift == Shift::Base ? glyph.size : line.size;
        if (runs.isEmpty() || !runs.back().sameLook(look))
            runs.append(look);
        runs.back().text += glyphText(glyph.c);
    }
    return runs;
}

void DocumentBuilder::learnWords(const QString& line)
{
    // Words of letters and digits; a hyphen between letters makes a compound.
    QString word;
    bool compound = false;
    auto finish = [&](bool atLineEnd) {
        while (!word.isEmpty() && isHyphen(word.back()))
            word.chop(1);
        if (!word.isEmpty() && !atLineEnd) {
            const QString lower = word.toLower();
            if (compound) {
                m_compounds.insert(lower);
                for (const QString& part : lower.split(QLatin1Char('-'), Qt::SkipEmptyParts))
                    m_words.insert(part);
            } else {
                m_words.insert(lower);
            }
        }
        word.clear();
        compound = false;
    };
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (c == QLatin1Char('-') && !word.isEmpty() && i + 1 < line.size() && line[i + 1].isLetter()) {
            word += c;
            compound = true;
        } else {
            finish(false);
        }
    }
    // The last word of a line that ends with a hyphen is only half a word.
    finish(!line.isEmpty() && isHyphen(line.back()));
}

DocumentBuilder::Paragraph DocumentBuilder::convert(const LaidParagraph& laid)
{
    Paragraph paragraph;
    paragraph.align = laid.align;
    paragraph.rtl = laid.rtl;
    paragraph.indent = laid.indent;
    paragraph.pitch = linePitch(laid.lines);
    for (const TextLine& line : laid.lines) {
        const QList<FlowRun> runs = runsOf(line);
        if (runs.isEmpty())
            continue;
        QString text;
        for (const FlowRun& run : runs)
            text += run.text;
        learnWords(text);
        paragraph.lines.append(runs);
    }
    return paragraph;
}

bool DocumentBuilder::itemOf(const PageLayout& page, const PageItem& laid, const QList<FlowImage>& pictures, Item* item)
{
    item->page = m_pages;
    item->box = laid.box;
    item->margin = laid.margin;
    item->note = laid.note;
    switch (laid.kind) {
    case PageItem::Paragraph:
        item->paragraph = convert(page.paragraphs[laid.index]);
        item->size = page.paragraphs[laid.index].lines.front().size;
        item->firstBaseline = page.paragraphs[laid.index].lines.front().baseline;
        item->lastBaseline = page.paragraphs[laid.index].lines.back().baseline;
        return !item->paragraph.lines.isEmpty();
    case PageItem::Figure:
        if (laid.index >= pictures.size() || pictures[laid.index].data.isEmpty())
            return false;
        item->kind = FlowBlock::Image;
        item->image = m_images.size();
        m_images.append(pictures[laid.index]);
        m_images.last().description = page.figures[laid.index].labelText;
        return true;
    case PageItem::Table: {
        const FoundTable& found = page.tables[laid.index];
        Table table;
        for (int c = 0; c + 1 < found.columns.size(); ++c)
            table.flow.columnWidths.append(found.columns[c + 1] - found.columns[c]);
        table.flow.rows = found.rows.size() - 1;
        table.flow.borders = found.ruled ? FlowTable::Grid : FlowTable::None;
        // A drawn table's rows are as high as on the page; a table found from the text's
        // alignment only knows where its text stands.
        for (int r = 0; (found.ruled || found.shaded) && r + 1 < found.rows.size(); ++r)
            table.flow.rowHeights.append(found.rows[r + 1] - found.rows[r]);
        for (const FoundTable::Cell& foundCell : found.cells) {
            FlowCell cell;
            static_cast<CellPlace&>(cell) = foundCell;
            cell.shading = foundCell.shading;
            table.flow.cells.append(cell);
            QList<Item> content;
            for (const LaidParagraph& laidParagraph : foundCell.paragraphs) {
                Item paragraph;
                paragraph.paragraph = convert(laidParagraph);
                if (!paragraph.paragraph.lines.isEmpty())
                    content.append(paragraph);
            }
            table.cellItems.append(content);
        }
        item->kind = FlowBlock::Table;
        item->table = m_tables.size();
        m_tables.append(table);
        return true;
    }
    case PageItem::Panel: {
        // A one-cell table with the panel's tint and frame around what it holds.
        const FoundPanel& panel = page.panels[laid.index];
        QList<Item> content;
        for (const PageItem& inner : panel.items) {
            Item part;
            if (itemOf(page, inner, pictures, &part))
                content.append(part);
        }
        if (content.isEmpty())
            return false;
        Table table;
        table.flow.columnWidths.append(panel.box.x1 - panel.box.x0);
        table.flow.rows = 1;
        table.flow.borders = FlowTable::Frame;
        table.flow.borderColor = panel.border;
        table.flow.shading = panel.fill;
        table.flow.cells.append(FlowCell());
        table.cellItems.append(content);
        item->kind = FlowBlock::Table;
        item->table = m_tables.size();
        m_tables.append(table);
        return true;
    }
    }
    return false;
}

void DocumentBuilder::addPage(const PageLayout& page, const QList<FlowImage>& pictures)
{
    if (!m_pageSize.isValid())
        m_pageSize = QSizeF(page.mediabox.x1 - page.mediabox.x0, page.mediabox.y1 - page.mediabox.y0);
    const int firstColumns = m_columns.size();
    m_columns += page.columns;
    for (const PageItem& laid : page.items) {
        Item item;
        if (itemOf(page, laid, pictures, &item)) {
            item.columns = laid.columns >= 0 ? firstColumns + laid.columns : -1;
            item.column = laid.column;
            m_items.append(item);
        }
    }
    ++m_pages;
}

void DocumentBuilder::dropMarginLines()
{
    // The body's size: running heads are set no larger.
    QMap<int, int> linesBySize;
    for (const Item& item : m_items) {
        if (item.kind == FlowBlock::Paragraph)
            linesBySize[qRound(item.size * 2)] += item.paragraph.lines.size();
    }
    const int bodyHalfPoints = mostFrequent(linesBySize);
    QHash<QString, QSet<int>> pagesByKey;
    for (const Item& item : m_items) {
        if (item.margin)
            pagesByKey[marginKey(paragraphText(item.paragraph.lines))].insert(item.page);
    }
    QVector<bool> drop(m_items.size(), false);
    QSet<int> pagesWithBody;
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (item.margin) {
            const QString text = paragraphText(item.paragraph.lines);
            const bool repeated = pagesByKey.value(marginKey(text)).size() >= 2 && item.size * 2 <= bodyHalfPoints * 1.15;
            drop[i] = repeated || isPageNumber(text);
        }
        if (!drop[i])
            pagesWithBody.insert(item.page);
    }
    QList<Item> kept;
    // Per side of the page (0 top, 1 bottom): page numbers, and pages per running text.
    int numbers[2] = {0, 0};
    bool onFirstPage[2] = {false, false};
    QHash<QString, int> heads[2];
    QHash<QString, Item> firstOf;
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        // A page of nothing but a margin line keeps it: it is the page's text.
        if (!drop[i] || !pagesWithBody.contains(item.page)) {
            kept.append(item);
            continue;
        }
        const int side = item.box.y0 > m_pageSize.height() / 2 ? 1 : 0;
        const QString text = paragraphText(item.paragraph.lines);
        onFirstPage[side] = onFirstPage[side] || item.page == 0;
        if (isPageNumber(text)) {
            ++numbers[side];
            continue;
        }
        const QString key = marginKey(text);
        ++heads[side][key];
        if (!firstOf.contains(key))
            firstOf.insert(key, item);
    }
    m_items = kept;
    // The running texts of a side that stand on as many pages as the most frequent one are all
    // the running head ("date  title" across the top), left to right.
    FlowMargin* margins[2] = {&m_header, &m_footer};
    for (int side = 0; side < 2; ++side) {
        int most = 0;
        for (int count : heads[side])
            most = std::max(most, count);
        QList<const Item*> running;
        for (auto it = heads[side].cbegin(); it != heads[side].cend(); ++it) {
            if (it.value() == most)
                running.append(&firstOf[it.key()]);
        }
        std::sort(running.begin(), running.end(), [](const Item* a, const Item* b) { return a->box.x0 < b->box.x0; });
        QStringList texts;
        for (const Item* item : running) {
            texts << paragraphText(item->paragraph.lines);
            margins[side]->size = std::max<double>(margins[side]->size, item->size);
        }
        margins[side]->text = texts.join(QLatin1Char('\t'));
        // A title page without a running head keeps none (a paper's first page).
        margins[side]->onFirstPage = onFirstPage[side] || m_pages < 2;
    }
    if (numbers[0] + numbers[1] > 0)
        margins[numbers[1] >= numbers[0] ? 1 : 0]->pageNumber = true;
}

void DocumentBuilder::measureBodies()
{
    // Lines in the margins that are no running head or page number are the body's too (a title
    // near the page's top, the last lines of a full page).
    m_pageBottoms = QVector<float>(m_pages, -1);
    m_body = fz_empty_rect;
    for (const Item& item : m_items) {
        // A page number kept on a page without a body is no measure of the body.
        if (item.margin && isPageNumber(paragraphText(item.paragraph.lines)))
            continue;
        m_pageBottoms[item.page] = std::max(m_pageBottoms[item.page], item.box.y1);
        m_body = fz_union_rect(m_body, item.box);
    }
}

void DocumentBuilder::joinBrokenParagraphs()
{
    QList<Item> kept;
    for (const Item& item : m_items) {
        // The paragraph this one may continue: the last before it, footnotes in between skipped.
        int previousIndex = kept.size() - 1;
        while (previousIndex >= 0 && kept[previousIndex].note && !item.note)
            --previousIndex;
        if (previousIndex >= 0 && item.kind == FlowBlock::Paragraph && kept[previousIndex].kind == FlowBlock::Paragraph) {
            Item& previous = kept[previousIndex];
            // The lines where the two meet (a paragraph may have grown long by joining).
            const QString before = paragraphText(previous.paragraph.lines.mid(previous.paragraph.lines.size() - 1));
            const QString after = paragraphText(item.paragraph.lines.mid(0, 1));
            // Cut by a column or page break: the next part starts higher than the last line
            // before it, or on a later page.
            const bool moved = item.page != previous.page || item.box.y0 < previous.box.y1 - previous.size;
            const bool sameText = previous.paragraph.rtl == item.paragraph.rtl && qAbs(previous.size - item.size) < 0.5;
            if (moved && sameText && !after.isEmpty() && after[0].isLower() && !endsSentence(before)) {
                previous.paragraph.lines += item.paragraph.lines;
                previous.box = item.box;
                previous.lastBaseline = item.lastBaseline;
                previous.page = item.page;
                continue;
            }
        }
        kept.append(item);
    }
    m_items = kept;
}

QString DocumentBuilder::joinAfter(QString& before, const QString& after) const
{
    if (before.isEmpty() || after.isEmpty())
        return QString();
    const QChar last = before.back();
    const QChar next = after.front();
    if (isHyphen(last)) {
        if (before.size() < 2 || !before[before.size() - 2].isLetter())
            return QString();
        if (last == kSoftHyphen) {
            before.chop(1);
            return QString();
        }
        if (!next.isLower())
            return QString(); // "Jean-" "Paul", "COVID-" "19": the hyphen belongs to the word
        int start = before.size() - 1;
        while (start > 0 && before[start - 1].isLetter())
            --start;
        int end = 0;
        while (end < after.size() && after[end].isLetter())
            ++end;
        const QString left = before.mid(start, before.size() - 1 - start).toLower();
        const QString right = after.left(end).toLower();
        if (m_compounds.contains(left + QLatin1Char('-') + right) && !m_words.contains(left + right))
            return QString();
        before.chop(1);
        return QString();
    }
    if (isDash(last) || last.isSpace() || (isWide(last) && isWide(next)))
        return QString();
    return QStringLiteral(" ");
}

FlowBlock DocumentBuilder::flowOf(const Paragraph& paragraph) const
{
    FlowBlock block;
    block.align = paragraph.align;
    block.rtl = paragraph.rtl;
    block.lineSpacing = paragraph.pitch;
    for (const QList<FlowRun>& line : paragraph.lines) {
        if (block.runs.isEmpty() && !line.isEmpty() && paragraph.indent > 0) {
            // A line of code keeps its indent as spaces.
            FlowRun indent = line.front();
            indent.text = QString(qMin(paragraph.indent, 80), QLatin1Char(' '));
            block.runs.append(indent);
        }
        if (!block.runs.isEmpty() && !line.isEmpty()) {
            FlowRun& last = block.runs.back();
            last.text += joinAfter(last.text, line.front().text);
        }
        for (const FlowRun& run : line) {
            if (!block.runs.isEmpty() && block.runs.back().sameLook(run))
                block.runs.back().text += run.text;
            else
                block.runs.append(run);
        }
    }
    return block;
}

namespace {

// A table most of whose letters are of a script read right to left (an Arabic or Hebrew table;
// figures read either way) is read from its rightmost column: its columns and cells go in that
// order, as a right-to-left table holds them, so that a word processor sets them back where the
// page has them.
FlowTable readRightToLeft(FlowTable table)
{
    int rtl = 0;
    int ltr = 0;
    for (const FlowCell& cell : table.cells) {
        for (const FlowBlock& block : cell.paragraphs) {
            for (const FlowRun& run : block.runs) {
                for (const QChar c : run.text) {
                    const QChar::Direction direction = c.direction();
                    rtl += direction == QChar::DirR || direction == QChar::DirAL ? 1 : 0;
                    ltr += direction == QChar::DirL ? 1 : 0;
                }
            }
        }
    }
    if (table.columnWidths.size() < 2 || rtl <= ltr)
        return table;
    table.rtl = true;
    const int columns = table.columnWidths.size();
    std::reverse(table.columnWidths.begin(), table.columnWidths.end());
    for (FlowCell& cell : table.cells)
        cell.column = columns - cell.column - cell.columnSpan;
    std::stable_sort(table.cells.begin(), table.cells.end(), [](const FlowCell& a, const FlowCell& b) {
        return a.row < b.row || (a.row == b.row && a.column < b.column);
    });
    return table;
}

} // namespace

FlowBlock DocumentBuilder::blockOf(const Item& item) const
{
    if (item.kind == FlowBlock::Paragraph)
        return flowOf(item.paragraph);
    FlowBlock block;
    block.kind = item.kind;
    block.image = item.image;
    block.table = item.table;
    return block;
}

FlowDocument DocumentBuilder::finish()
{
    dropMarginLines();
    measureBodies();
    joinBrokenParagraphs();
    FlowDocument document;
    document.pageSize = m_pageSize;
    document.header = m_header;
    document.footer = m_footer;
    document.images = m_images;
    for (const Table& table : m_tables) {
        FlowTable flow = table.flow;
        for (int i = 0; i < flow.cells.size(); ++i) {
            for (const Item& item : table.cellItems[i]) {
                flow.cells[i].paragraphs.append(blockOf(item));
                // A drawn table's rows are as high as on the page: its cells' paragraphs add no
                // space of their own.
                if (!flow.rowHeights.isEmpty())
                    flow.cells[i].paragraphs.last().spaceBefore = 0;
            }
        }
        document.tables.append(readRightToLeft(flow));
    }
    const QVector<bool> starts = pageStarts();
    for (int i = 0; i < m_items.size(); ++i) {
        document.blocks.append(blockOf(m_items[i]));
        document.blocks.last().pageBreakBefore = starts[i];
    }
    document.sections = columnSections(document.blocks);
    spaceBlocks(document.blocks);
    document.margins = sourceMargins();
    document.fonts = m_looks.fonts().fontsNamed(document.fontNames());
    return document;
}

QMarginsF DocumentBuilder::sourceMargins() const
{
    const fz_rect body = m_body;
    if (fz_is_empty_rect(body) || !m_pageSize.isValid())
        return FlowDocument().margins;
    const auto clamped = [](double margin) { return qBound(kLeastMargin, margin, kMostMargin); };
    // The last line's glyphs end above its line's foot: the text area reaches a little lower.
    return QMarginsF(clamped(body.x0), clamped(body.y0), clamped(m_pageSize.width() - body.x1),
                     clamped(m_pageSize.height() - body.y1 - kLastLineRoom));
}

QVector<bool> DocumentBuilder::pageStarts() const
{
    QVector<bool> starts(m_items.size(), false);
    // Where each page's body ends, and where the document's pages usually end.
    const QVector<float>& bottoms = m_pageBottoms;
    QVector<float> filled;
    for (float bottom : bottoms) {
        if (bottom >= 0)
            filled.append(bottom);
    }
    if (filled.size() < 2)
        return starts;
    std::sort(filled.begin(), filled.end());
    const float usual = filled[filled.size() * 3 / 4];
    const double shortBy = kShortPage * m_pageSize.height();
    // Where the document's text area ends (a slide's text stops well above its page's end).
    const double textBottom = m_pageSize.height() - sourceMargins().bottom();
    for (int i = 1; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        const int before = m_items[i - 1].page;
        if (item.page == before || bottoms[before] < 0)
            continue;
        // The page ended well short of the others, or with room for the next page's first item
        // and a few lines more (a heading is not left alone at a page's foot).
        const double lineSize = item.size > 0 ? item.size : kUsualSize;
        const bool room = textBottom - bottoms[before] > (item.box.y1 - item.box.y0) + kLinesToSpare * lineSize;
        starts[i] = bottoms[before] < usual - shortBy || room;
    }
    return starts;
}

} // namespace p2w
