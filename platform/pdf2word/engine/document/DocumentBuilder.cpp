#include "platform/pdf2word/engine/document/DocumentBuilder.h"
#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

const QChar kSoftHyphen(0x00AD);

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
    return pitch > 0 && pitch <= documentTuning().paragraphs.mostPitch * size ? pitch : 0;
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
            // A space between highlighted words is highlighted, one after them is not.
            if (runs.back().shading != glyph.background) {
                FlowRun shaded = runs.back();
                shaded.shading = glyph.background;
                shaded.text.clear();
                runs.append(shaded);
            }
            runs.back().text += QLatin1Char(' ');
            continue;
        }
        if (glyph.figure >= 0) {
            // A picture in the line is a run of its own; one not drawn leaves nothing.
            if (m_page && m_pictures && glyph.figure < m_pictures->size() && !(*m_pictures)[glyph.figure].data.isEmpty()) {
                FlowRun picture;
                picture.size = line.size;
                picture.image = m_images.size();
                m_images.append((*m_pictures)[glyph.figure]);
                m_images.last().description = m_page->figures[glyph.figure].labelText;
                runs.append(picture);
            }
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
        look.shading = glyph.background;
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

DocumentBuilder::Paragraph DocumentBuilder::convert(const LaidParagraph& laid, fz_rect container)
{
    Paragraph paragraph;
    paragraph.align = laid.align;
    paragraph.rtl = laid.rtl;
    paragraph.indent = laid.indent;
    paragraph.pitch = linePitch(laid.lines);
    paragraph.container = container;
    for (const TextLine& line : laid.lines)
        paragraph.lineBoxes.append(line.box);
    paragraph.em = laid.lines.isEmpty() ? 0 : laid.lines.front().size;
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

bool DocumentBuilder::itemOf(const PageLayout& page, const PageItem& laid, const QList<FlowImage>& pictures, Item* item,
                             fz_rect container)
{
    item->page = m_pages;
    item->box = laid.box;
    item->margin = laid.margin;
    item->note = laid.note;
    switch (laid.kind) {
    case PageItem::Paragraph:
        item->paragraph = convert(page.paragraphs[laid.index], container);
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
            const int last = std::min<int>(foundCell.column + foundCell.columnSpan, found.columns.size() - 1);
            const fz_rect inside = fz_make_rect(found.columns[foundCell.column] + kCellPadding, found.box.y0,
                                                found.columns[last] - kCellPadding, found.box.y1);
            for (const LaidParagraph& laidParagraph : foundCell.paragraphs) {
                Item paragraph;
                paragraph.box = laidParagraph.box;
                paragraph.size = laidParagraph.lines.front().size;
                paragraph.firstBaseline = laidParagraph.lines.front().baseline;
                paragraph.lastBaseline = laidParagraph.lines.back().baseline;
                paragraph.paragraph = convert(laidParagraph, inside);
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
        const fz_rect inside = fz_make_rect(panel.box.x0 + kCellPadding, panel.box.y0, panel.box.x1 - kCellPadding, panel.box.y1);
        for (const PageItem& inner : panel.items) {
            Item part;
            if (itemOf(page, inner, pictures, &part, inside))
                content.append(part);
        }
        if (content.isEmpty())
            return false;
        Table table;
        table.flow.columnWidths.append(panel.box.x1 - panel.box.x0);
        table.flow.rows = 1;
        table.flow.borders = FlowTable::Frame;
        // As high as on the page: its text, and the room around it.
        table.flow.rowHeights.append(panel.box.y1 - panel.box.y0);
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
    // The page's pictures, for those standing in its lines.
    m_page = &page;
    m_pictures = &pictures;
    m_pageSizes.append(QSizeF(page.mediabox.x1 - page.mediabox.x0, page.mediabox.y1 - page.mediabox.y0));
    const int firstColumns = m_columns.size();
    m_columns += page.columns;
    for (const PageItem& laid : page.items) {
        Item item;
        if (itemOf(page, laid, pictures, &item)) {
            item.columns = laid.columns >= 0 ? firstColumns + laid.columns : -1;
            item.floats = laid.floats && item.kind != FlowBlock::Paragraph;
            item.column = laid.column;
            m_items.append(item);
        }
    }
    ++m_pages;
    m_page = nullptr;
    m_pictures = nullptr;
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
        const int side = item.box.y0 > m_pageSizes[item.page].height() / 2 ? 1 : 0;
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
    m_notesTops = QVector<float>(m_pages, -1);
    m_pageBodies = QVector<fz_rect>(m_pages, fz_empty_rect);
    for (const Item& item : m_items) {
        // A page number kept on a page without a body is no measure of the body.
        if (item.margin && isPageNumber(paragraphText(item.paragraph.lines)))
            continue;
        // A box floating beside the text, or a footnote under it, is no measure of where the
        // text ends.
        if (!item.floats && !item.note)
            m_pageBottoms[item.page] = std::max(m_pageBottoms[item.page], item.box.y1);
        if (item.note)
            m_notesTops[item.page] = m_notesTops[item.page] < 0 ? item.box.y0 : std::min(m_notesTops[item.page], item.box.y0);
        m_pageBodies[item.page] = fz_union_rect(m_pageBodies[item.page], item.box);
    }
    // Pages by size (the sizes are few): each filed under the first page of its size.
    m_sizeOf = QVector<int>(m_pages);
    m_sizeBodies.clear();
    QVector<int> firsts;
    for (int page = 0; page < m_pages; ++page) {
        const auto first = std::find_if(firsts.begin(), firsts.end(), [&](int other) { return samePageSize(other, page); });
        if (first == firsts.end())
            firsts.append(page);
        m_sizeOf[page] = first != firsts.end() ? *first : page;
        m_sizeBodies[m_sizeOf[page]] = fz_union_rect(m_sizeBodies.value(m_sizeOf[page], fz_empty_rect), m_pageBodies[page]);
    }
}

void DocumentBuilder::setPageFeet(QList<FlowBlock>& blocks) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        // A picture larger than the text area (a page's scan, a picture to the page's edges), or
        // beside others with no text after it, stands where it stood, as large, rather than
        // shrunk into the margins or set under the others.
        if (item.kind == FlowBlock::Image && !item.floats) {
            const QSizeF& page = m_pageSizes[item.page];
            const QMarginsF margins = sourceMargins(item.page);
            if (item.atPlace || width(item.box) > page.width() - margins.left() - margins.right() + 1
                || item.box.y1 - item.box.y0 > page.height() - margins.top() - margins.bottom() + 1) {
                blocks[i].pageY = std::max(0.0f, item.box.y0);
                blocks[i].floatX = std::max(0.0f, item.box.x0);
                blocks[i].spaceBefore = 0;
            }
            continue;
        }
        // The last block of its page, a paragraph below the page's middle (a footnote too).
        const bool last = i + 1 == m_items.size() || m_items[i + 1].page != item.page;
        if (!last || i == 0 || item.kind != FlowBlock::Paragraph || item.box.y0 < m_pageSizes[item.page].height() / 2)
            continue;
        // Apart from the text above it by more than a few of its lines.
        float above = -1;
        for (int j = i - 1; j >= 0 && m_items[j].page == item.page; --j) {
            if (!m_items[j].floats)
                above = std::max(above, m_items[j].box.y1);
        }
        if (above < 0 || item.box.y0 - above < documentTuning().paragraphs.footGapLines * item.size)
            continue;
        blocks[i].pageY = blockTop(item);
        blocks[i].spaceBefore = 0;
    }
}

void DocumentBuilder::placeParagraphs()
{
    QHash<int, QVector<fz_rect>> floating; // by page
    for (const Item& item : m_items) {
        if (item.floats)
            floating[item.page].append(item.box);
    }
    // Where each column's items lie, without the running heads and page numbers read in it.
    QHash<QPair<int, int>, fz_rect> columns;
    for (const Item& item : m_items) {
        if (item.columns >= 0) {
            const QPair<int, int> key(item.columns, item.column);
            columns.insert(key, fz_union_rect(columns.value(key, fz_empty_rect), item.box));
        }
    }
    for (Item& item : m_items) {
        if (item.kind != FlowBlock::Paragraph && item.floats)
            continue;
        if (item.kind == FlowBlock::Paragraph && !fz_is_empty_rect(item.paragraph.container))
            continue;
        const fz_rect container = item.columns >= 0 ? columns.value(qMakePair(item.columns, item.column)) : m_pageBodies[item.page];
        // Where the source's body keeps further from the page's edges than the document's margins
        // may, the text keeps there too.
        float padLeft = 0;
        float padRight = 0;
        if (item.columns < 0) {
            const fz_rect body = m_sizeBodies.value(m_sizeOf[item.page], fz_empty_rect);
            const QMarginsF margins = sourceMargins(item.page);
            padLeft = std::max(0.0, body.x0 - margins.left());
            padRight = std::max(0.0, m_pageSizes[item.page].width() - body.x1 - margins.right());
        }
        if (item.kind != FlowBlock::Paragraph) {
            // A table or picture stands where it stood, as far in as it fits.
            const float indent = std::min(item.box.x0 - container.x0, width(container) - width(item.box)) + padLeft;
            item.indent = indent > documentTuning().paragraphs.leastBoxIndent ? indent : 0;
            continue;
        }
        item.paragraph.container = container;
        item.paragraph.padLeft = padLeft;
        item.paragraph.padRight = padRight;
        for (const fz_rect& box : floating.value(item.page)) {
            if (item.box.y1 > box.y0 && item.box.y0 < box.y1)
                item.paragraph.floatsBeside.append(box);
        }
    }
}

DocumentBuilder::Item DocumentBuilder::unanchored(Item box)
{
    box.atPlace = box.kind == FlowBlock::Image;
    box.floats = false;
    return box;
}

void DocumentBuilder::placeFloats()
{
    // A picture or a tinted or framed box standing beside a paragraph of its page (side by side,
    // level with it for half the height of the lower of the two: a logo beside a title, an
    // infobox read before the text beside it) floats beside it too; a picture beside a paragraph
    // of one line only (a paragraph beside a picture of its own is no running text around it).
    for (Item& box : m_items) {
        const bool panel = box.kind == FlowBlock::Table && m_tables[box.table].flow.borders == FlowTable::Frame;
        if ((box.kind != FlowBlock::Image && !panel) || box.floats || box.columns >= 0)
            continue;
        for (const Item& text : m_items) {
            if (text.kind != FlowBlock::Paragraph || text.page != box.page || text.columns >= 0
                || (!panel && text.paragraph.lines.size() != 1) || overlapX(text.box, box.box))
                continue;
            const float level = std::min(text.box.y1, box.box.y1) - std::max(text.box.y0, box.box.y0);
            if (level > documentTuning().paragraphs.besideShare * std::min(text.box.y1 - text.box.y0, box.box.y1 - box.box.y0)) {
                box.floats = true;
                break;
            }
        }
    }
    QList<Item> placed;
    QList<Item> floating; // boxes of the page not yet placed
    // The text a box floats beside anchors it.
    const auto anchorOf = [](const Item& box, const Item& block) {
        return !block.floats && block.kind == FlowBlock::Paragraph && block.page == box.page && block.box.y1 > box.box.y0;
    };
    for (int i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        // Each box waiting goes before the first block beside or below it.
        for (int f = 0; f < floating.size();) {
            if (anchorOf(floating[f], item)) {
                placed.append(floating.takeAt(f));
                continue;
            }
            if (floating[f].page != item.page) {
                placed.append(unanchored(floating.takeAt(f)));
                continue;
            }
            ++f;
        }
        if (!item.floats) {
            placed.append(item);
            continue;
        }
        // A box read after the text beside it goes back before the first block beside or below
        // it; where it is the last of its page, it stays after that text (in the order it is
        // read) and is placed from the page's top, anchored by a paragraph of its own.
        bool later = false;
        for (int j = i + 1; j < m_items.size() && m_items[j].page == item.page && !later; ++j)
            later = m_items[j].kind == FlowBlock::Paragraph && !m_items[j].floats;
        int at = placed.size();
        while (at > 0 && anchorOf(item, placed[at - 1]))
            --at;
        if (at < placed.size() && !later) {
            Item box = item;
            box.fromPage = true;
            placed.append(box);
        } else if (at < placed.size()) {
            placed.insert(at, item);
        } else {
            floating.append(item);
        }
    }
    for (const Item& alone : floating)
        placed.append(unanchored(alone));
    m_items = placed;
}

void DocumentBuilder::setFloats(QList<FlowBlock>& blocks) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].floats)
            continue;
        // Anchored to the first block after it that does not float (placeFloats made sure of one),
        // or, placed from the page's top, by a paragraph of its own.
        int anchor = i + 1;
        while (anchor < m_items.size() && m_items[anchor].floats)
            ++anchor;
        if (m_items[i].fromPage) {
            blocks[i].floats = true;
            blocks[i].floatFromPage = true;
            blocks[i].floatX = m_items[i].box.x0;
            blocks[i].floatY = m_items[i].box.y0;
            continue;
        }
        if (anchor == m_items.size())
            continue;
        blocks[i].floats = true;
        // The page it opens starts with its anchor, which holds it.
        blocks[anchor].pageBreakBefore = blocks[anchor].pageBreakBefore || blocks[i].pageBreakBefore;
        blocks[i].pageBreakBefore = false;
        blocks[i].floatX = m_items[i].box.x0;
        // Never above its anchor: it would push the text before the anchor aside.
        blocks[i].floatY = std::max(0.0f, m_items[i].box.y0 - m_items[anchor].box.y0);
    }
}

void DocumentBuilder::joinBrokenParagraphs()
{
    QList<Item> kept;
    for (const Item& item : m_items) {
        // The paragraph this one may continue: the last before it, footnotes and boxes floating
        // beside the text in between skipped.
        int previousIndex = kept.size() - 1;
        while (previousIndex >= 0 && ((kept[previousIndex].note && !item.note) || kept[previousIndex].floats))
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

// The indents of a paragraph that stands where its lines stand in what holds it: the left edge
// and the first line's apart; the right edge of a paragraph of several lines clearly narrower
// than its column (a quotation) or of one set to the right; a centred one's middle. Right to left
// paragraphs keep their container's edges.
void DocumentBuilder::indent(const Paragraph& paragraph, FlowBlock* block)
{
    const fz_rect container = paragraph.container;
    const float em = paragraph.em;
    if (fz_is_empty_rect(container) || paragraph.rtl || em <= 0)
        return;
    // Where the lines not beside a floating box start (the first apart) and end.
    const auto besideFloat = [&](const fz_rect& line) {
        return std::any_of(paragraph.floatsBeside.begin(), paragraph.floatsBeside.end(),
                           [&](const fz_rect& box) { return line.y1 > box.y0 && line.y0 < box.y1; });
    };
    int lines = 0;
    float left = 1e9f;
    float right = -1e9f;
    float firstLeft = -1;
    for (int i = 0; i < paragraph.lineBoxes.size(); ++i) {
        const fz_rect& line = paragraph.lineBoxes[i];
        if (besideFloat(line))
            continue;
        ++lines;
        if (i == 0)
            firstLeft = line.x0;
        if (i > 0 || paragraph.lineBoxes.size() == 1)
            left = std::min(left, line.x0);
        right = std::max(right, line.x1);
    }
    if (lines == 0)
        return;
    if (left > right)
        left = firstLeft;
    const float room = container.x1 - container.x0;
    const float before = left - container.x0;
    const float after = container.x1 - right;
    if (paragraph.align == Align::Center) {
        // Shifted from the middle: the indent on the far side keeps its middle where it was.
        const float shift = before - after;
        if (std::fabs(shift) > documentTuning().paragraphs.leastIndent * em)
            (shift > 0 ? block->leftIndent : block->rightIndent) = std::fabs(shift);
    } else if (paragraph.align == Align::Right) {
        if (after > documentTuning().paragraphs.leastIndent * em)
            block->rightIndent = after;
    } else {
        if (before > documentTuning().paragraphs.leastIndent * em)
            block->leftIndent = before;
        if (lines > 1 && firstLeft >= 0 && std::fabs(firstLeft - left) > documentTuning().paragraphs.leastIndent * em)
            block->firstLineIndent = firstLeft - left;
        if (lines > 1 && after > documentTuning().paragraphs.narrowerBy * em)
            block->rightIndent = after;
    }
    // A hanging first line starts no further left than the container's edge.
    if (block->firstLineIndent < 0)
        block->leftIndent = std::max<double>(block->leftIndent, -block->firstLineIndent);
    block->leftIndent += paragraph.padLeft;
    block->rightIndent += paragraph.padRight;
    // The lines keep room for a few words.
    const double least = std::max<double>(documentTuning().paragraphs.leastLineEms * em, 0.2 * room);
    const double left0 = block->leftIndent + std::max(0.0, block->firstLineIndent);
    const double excess = left0 + block->rightIndent - (room - least);
    if (excess > 0) {
        const double total = left0 + block->rightIndent;
        const double scale = total > 0 ? std::max(0.0, 1 - excess / total) : 0;
        block->leftIndent *= scale;
        block->rightIndent *= scale;
        block->firstLineIndent *= scale;
    }
}

FlowBlock DocumentBuilder::flowOf(const Paragraph& paragraph) const
{
    FlowBlock block;
    block.align = paragraph.align;
    block.rtl = paragraph.rtl;
    block.lineSpacing = paragraph.pitch;
    indent(paragraph, &block);
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
    block.leftIndent = item.indent;
    return block;
}

FlowDocument DocumentBuilder::finish()
{
    dropMarginLines();
    measureBodies();
    placeFloats();
    placeParagraphs();
    joinBrokenParagraphs();
    FlowDocument document;
    const int firstPage = m_items.isEmpty() ? 0 : m_items.front().page;
    if (!m_pageSizes.isEmpty())
        document.pageSize = m_pageSizes[firstPage];
    document.header = m_header;
    document.footer = m_footer;
    document.images = m_images;
    for (const Table& table : m_tables) {
        FlowTable flow = table.flow;
        // A cell's blocks are apart as in the source, and none below its last: the row is as
        // high as its text.
        for (int i = 0; i < flow.cells.size(); ++i) {
            for (const Item& item : table.cellItems[i])
                flow.cells[i].paragraphs.append(blockOf(item));
            spaceBlocks(table.cellItems[i], flow.cells[i].paragraphs);
            // A drawn table's rows are as high as on the page: its cells' paragraphs add no space
            // of their own; a panel's keep theirs apart.
            for (FlowBlock& block : flow.cells[i].paragraphs) {
                if (!flow.rowHeights.isEmpty() && flow.borders != FlowTable::Frame)
                    block.spaceBefore = 0;
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
    spaceBlocks(m_items, document.blocks);
    spacePageTops(document.blocks);
    setFloats(document.blocks);
    setPageFeet(document.blocks);
    document.margins = m_pageSizes.isEmpty() ? document.margins : sourceMargins(firstPage);
    document.pageChanges = pageChanges();
    // A page of another format starts a page of its own.
    for (const FlowPageFormat& change : document.pageChanges)
        document.blocks[change.first].pageBreakBefore = false;
    document.fonts = m_looks.fonts().fontsNamed(document.fontNames());
    return document;
}

bool DocumentBuilder::samePageSize(int a, int b) const
{
    const QSizeF& one = m_pageSizes[a];
    const QSizeF& other = m_pageSizes[b];
    return std::fabs(one.width() - other.width()) < documentTuning().pages.sameSize && std::fabs(one.height() - other.height()) < documentTuning().pages.sameSize;
}

QMarginsF DocumentBuilder::sourceMargins(int page) const
{
    const fz_rect body = page < m_sizeOf.size() ? m_sizeBodies.value(m_sizeOf[page], fz_empty_rect) : fz_empty_rect;
    if (fz_is_empty_rect(body))
        return FlowDocument().margins;
    const QSizeF& size = m_pageSizes[page];
    const auto clamped = [](double margin) { return qBound(documentTuning().pages.leastMargin, margin, documentTuning().pages.mostMargin); };
    // The last line's glyphs end above its line's foot: the text area reaches a little lower.
    return QMarginsF(clamped(body.x0), clamped(body.y0), clamped(size.width() - body.x1),
                     clamped(size.height() - body.y1 - documentTuning().pages.lastLineRoom));
}

QList<FlowPageFormat> DocumentBuilder::pageChanges() const
{
    QList<FlowPageFormat> changes;
    for (int i = 1; i < m_items.size(); ++i) {
        const int page = m_items[i].page;
        if (!samePageSize(m_items[i - 1].page, page))
            changes.append({i, m_pageSizes[page], sourceMargins(page)});
    }
    return changes;
}

QVector<bool> DocumentBuilder::pageStarts() const
{
    QVector<bool> starts(m_items.size(), false);
    // How much room each page's text left free: from where its body ends to the top of its
    // footnotes, else to where the text area of pages of its size ends (a slide's text stops well
    // above its page's end); and how much the document's pages of its size usually leave (the
    // sizes are few: each page is filed under the first page of its size).
    QVector<float> free(m_pages, -1);
    QHash<int, QVector<float>> frees;
    QHash<int, double> textBottoms;
    for (int page = 0; page < m_pages; ++page) {
        if (!textBottoms.contains(m_sizeOf[page]))
            textBottoms.insert(m_sizeOf[page], m_pageSizes[page].height() - sourceMargins(page).bottom());
        const double limit = m_notesTops[page] >= 0 ? m_notesTops[page] : textBottoms[m_sizeOf[page]];
        // A page that shows nothing but its number leaves it all free, and says nothing of how
        // full the others are.
        if (m_pageBottoms[page] < 0) {
            free[page] = float(limit - sourceMargins(page).top());
            continue;
        }
        free[page] = float(limit - m_pageBottoms[page]);
        frees[m_sizeOf[page]].append(free[page]);
    }
    for (QVector<float>& group : frees)
        std::sort(group.begin(), group.end());
    for (int i = 1; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        const int before = m_items[i - 1].page;
        const QVector<float>& others = frees[m_sizeOf[before]];
        // Only where the reading goes on to a later page (a paragraph a page break cut is one again,
        // on the page it ends on, and the footnotes of the page it started on follow it).
        if (item.page <= before || free[before] < 0 || others.size() < 2)
            continue;
        // The page ended well short of the others, or with room for the next page's first item
        // (a box floating beside the text takes no room) and a few lines of the text after it (a
        // heading is not left alone at a page's foot).
        int first = i;
        while (first + 1 < m_items.size() && m_items[first].floats && m_items[first + 1].page == item.page)
            ++first;
        const Item& opening = m_items[first];
        const bool textAfter = first + 1 < m_items.size() && m_items[first + 1].page == item.page && m_items[first + 1].size > 0;
        const double lineSize = textAfter ? m_items[first + 1].size : opening.size > 0 ? opening.size
                                                                                       : documentTuning().pages.usualLineSize;
        const bool room = free[before] > (opening.box.y1 - opening.box.y0) + documentTuning().pages.linesToSpare * lineSize;
        // A page that shows nothing but its number is a page of its own.
        const bool empty = m_pageBottoms[item.page] < 0;
        starts[i] = free[before] > others[(others.size() - 1) / 4] + documentTuning().pages.shortPage * m_pageSizes[before].height() || room || empty;
    }
    return starts;
}

} // namespace p2w
