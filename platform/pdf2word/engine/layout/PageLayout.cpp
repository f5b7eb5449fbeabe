#include "platform/pdf2word/engine/layout/PageLayout.h"
#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/layout/RunningText.h"
#include "platform/pdf2word/engine/model/LayoutGeometry.h"

#include <algorithm>
#include <cmath>

namespace p2w {

namespace {

bool endsSentence(const TextLine& line)
{
    for (int i = line.glyphs.size() - 1; i >= 0; --i) {
        const char32_t c = line.glyphs[i].c;
        if (c == U'"' || c == U')' || c == U'\u201D' || c == U'\u2019' || line.glyphs[i].shift != Shift::Base)
            continue;
        return c == U'.' || c == U'!' || c == U'?' || c == U':' || c == U'\u3002' || c == U'\u061F' || c == U'\u06D4';
    }
    return false;
}

// Lines that each stand for themselves: runs of lines in one size, evenly spaced, none but the
// last ending a sentence, at most half of them within an em of the widest (not the full lines of
// running text), where one line ends so far short of the widest that the next line's first word
// would have fitted after it. No line breaker set such a run: it is a list of items without
// bullets (a slide's key figures). Marks the lines that start an item.
QVector<bool> listItems(const QVector<TextLine>& lines)
{
    QVector<bool> starts(lines.size(), false);
    int from = 0;
    while (from < lines.size()) {
        int to = from + 1; // one past the run's last line
        while (to < lines.size() && std::fabs(lines[to].size - lines[to - 1].size) <= layoutTuning().paragraphs.sizeChange * std::max(lines[to].size, lines[to - 1].size)
               && !lines[to].monospace && !lines[to - 1].monospace)
            ++to;
        bool list = to - from >= layoutTuning().paragraphs.leastListLines;
        float widest = 0;
        float leastPitch = 1e9f;
        float mostPitch = 0;
        for (int i = from; i < to && list; ++i) {
            widest = std::max(widest, width(lines[i].box));
            list = i + 1 == to || !endsSentence(lines[i]);
            if (i > from) {
                const float pitch = lines[i].baseline - lines[i - 1].baseline;
                leastPitch = std::min(leastPitch, pitch);
                mostPitch = std::max(mostPitch, pitch);
            }
        }
        list = list && leastPitch > 0 && mostPitch <= layoutTuning().paragraphs.evenPitch * leastPitch;
        int full = 0;
        for (int i = from; i < to; ++i)
            full += widest - width(lines[i].box) < lines[i].size ? 1 : 0;
        list = list && 2 * full <= to - from;
        bool setByHand = false;
        for (int i = from; i + 1 < to && list && !setByHand; ++i)
            setByHand = widest - width(lines[i].box) > firstWordWidth(lines[i + 1]) + lines[i].size;
        for (int i = from + 1; i < to && setByHand; ++i)
            starts[i] = true;
        from = to;
    }
    return starts;
}

// The mean gap (points) between the words of a line, from the end of one word's ink to the start
// of the next; -1 for a line of one word.
float meanWordGap(const TextLine& line)
{
    float sum = 0;
    int gaps = 0;
    const Glyph* last = nullptr;
    bool spaced = false;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.isSpace()) {
            spaced = last != nullptr;
            continue;
        }
        if (spaced) {
            sum += std::max(0.0f, std::max(last->box.x0, glyph.box.x0) - std::min(last->box.x1, glyph.box.x1));
            ++gaps;
        }
        spaced = false;
        last = &glyph;
    }
    return gaps > 0 ? sum / gaps : -1;
}

// Whether the full lines of a paragraph were stretched to its edges: their word gaps are wider
// or narrower than those of its last line, which is set as the font sets it, or differ from one
// another. A line breaker that sets text ragged gives every line the same gaps. Lines without
// word gaps (Chinese, a line of one word) tell nothing: true.
bool wordGapsStretched(const QVector<TextLine>& lines)
{
    const float em = lines.front().size;
    const float last = meanWordGap(lines.back());
    float least = 1e9f;
    float most = -1;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const float gap = meanWordGap(lines[i]);
        if (gap < 0)
            continue;
        least = std::min(least, gap);
        most = std::max(most, gap);
    }
    if (most < 0)
        return true;
    const float stretch = layoutTuning().paragraphs.stretchedGap * em;
    return most - least > stretch || (last >= 0 && (most - last > stretch || last - least > stretch));
}

// Whether two or more lines before the last end at one place, to a point: a line breaker sets
// ragged lines each as long as its words, a justified paragraph's at its edge.
bool endTogether(const QVector<TextLine>& lines)
{
    if (lines.size() < 3)
        return false;
    float least = lines.front().box.x1;
    float most = least;
    for (int i = 1; i + 1 < lines.size(); ++i) {
        least = std::min(least, lines[i].box.x1);
        most = std::max(most, lines[i].box.x1);
    }
    return most - least < layoutTuning().paragraphs.sameEnd;
}

Align alignmentOf(const LaidParagraph& paragraph, const fz_rect& column)
{
    const QVector<TextLine>& lines = paragraph.lines;
    const float em = lines.front().size;
    const float middle = (column.x0 + column.x1) / 2;
    if (lines.size() == 1) {
        // A line near one edge stands there, even in a narrow table cell where it is also near
        // the middle.
        const fz_rect box = lines.front().box;
        const float before = box.x0 - column.x0;
        const float after = column.x1 - box.x1;
        if (width(box) > width(column) - 2 * em)
            return paragraph.rtl ? Align::Right : Align::Left;
        if (std::fabs((box.x0 + box.x1) / 2 - middle) < em && std::min(before, after) > em / 2)
            return Align::Center;
        if (after < em && before > after + em)
            return Align::Right;
        return Align::Left;
    }
    int full = 0;
    int centred = 0;
    int flushLeft = 0;
    int flushRight = 0;
    // Where the lines after the first start and those before the last end: a paragraph indented
    // in its column is flush there.
    float start = lines[1].box.x0;
    for (int i = 2; i < lines.size(); ++i)
        start = std::min(start, lines[i].box.x0);
    float end = lines[0].box.x1;
    for (int i = 1; i + 1 < lines.size(); ++i)
        end = std::max(end, lines[i].box.x1);
    if (paragraph.rtl) {
        start = column.x0;
        end = column.x1;
    }
    int inset = 0;    // lines away from both edges
    int oneSided = 0; // lines flush with one edge only
    for (int i = 0; i < lines.size(); ++i) {
        const fz_rect box = lines[i].box;
        const bool left = std::fabs(box.x0 - column.x0) < em;
        const bool right = std::fabs(box.x1 - column.x1) < em;
        const bool atStart = std::fabs(box.x0 - start) < em;
        const bool atEnd = std::fabs(box.x1 - end) < em;
        inset += box.x0 > column.x0 + em && box.x1 < column.x1 - em ? 1 : 0;
        oneSided += left != right ? 1 : 0;
        full += (atStart || i == 0 || paragraph.rtl) && atEnd && (!paragraph.rtl || left || i == 0) ? 1 : 0;
        centred += std::fabs((box.x0 + box.x1) / 2 - middle) < em ? 1 : 0;
        flushLeft += left ? 1 : 0;
        flushRight += right ? 1 : 0;
    }
    const int count = lines.size();
    // A centred title whose first line fills the column is still centred; a line flush with one
    // edge only is a left or right paragraph's (its first line indented).
    if (centred == count && flushLeft < count && inset > 0 && oneSided == 0)
        return Align::Center;
    // Justified where the lines were stretched to the edge, or where every line fills it (set
    // either way, the lines are the same).
    if (full >= count - 1 && (full == count || endTogether(lines) || wordGapsStretched(lines)))
        return Align::Justify;
    if (flushRight == count && flushLeft < count)
        return Align::Right;
    return Align::Left;
}

// Lines that follow one another down one column: the next is one line's pitch lower, overlaps it
// and is set in a like size.
bool continuesBlock(const TextLine& previous, const TextLine& line)
{
    if (previous.vertical || line.vertical || previous.rtl != line.rtl)
        return false;
    const float larger = std::max(previous.size, line.size);
    const float smaller = std::min(previous.size, line.size);
    const float drop = line.baseline - previous.baseline;
    const bool overlap = std::min(previous.box.x1, line.box.x1) > std::max(previous.box.x0, line.box.x0);
    return overlap && drop > layoutTuning().lines.leastDrop * smaller && drop < layoutTuning().paragraphs.mostDrop * larger && smaller > layoutTuning().paragraphs.likeSizes * larger;
}

// A short line of digits: a page number.
bool isPageNumber(const TextLine& line)
{
    if (line.glyphs.size() > 4)
        return false;
    for (const Glyph& glyph : line.glyphs) {
        if (glyph.c < U'0' || glyph.c > U'9')
            return false;
    }
    return true;
}

// The lines under a footnote rule: a short stroke in the lower half of the page with only smaller
// text below it. They are taken out of lines.
QVector<TextLine> takeFootnotes(QVector<TextLine>& lines, const QVector<Rule>& rules, fz_rect mediabox)
{
    QVector<TextLine> notes;
    const float pageWidth = mediabox.x1 - mediabox.x0;
    const float middle = (mediabox.y0 + mediabox.y1) / 2;
    for (const Rule& rule : rules) {
        const float length = rule.x1 - rule.x0;
        if (!rule.horizontal() || rule.y0 < middle || length < layoutTuning().paragraphs.shortestNoteRule || length > layoutTuning().paragraphs.noteRuleShare * pageWidth)
            continue;
        QVector<float> sizesAbove;
        float smallestBelow = 1e9f;
        float largestBelow = 0;
        int below = 0;
        for (const TextLine& line : lines) {
            if (line.box.y0 >= rule.y1) {
                if (isPageNumber(line))
                    continue; // the folio under the notes
                ++below;
                largestBelow = std::max(largestBelow, line.size);
                smallestBelow = std::min(smallestBelow, line.size);
            } else {
                sizesAbove.append(line.size);
            }
        }
        if (below == 0 || sizesAbove.size() < layoutTuning().paragraphs.linesAboveNotes)
            continue;
        std::sort(sizesAbove.begin(), sizesAbove.end());
        if (largestBelow >= layoutTuning().paragraphs.noteSize * sizesAbove[sizesAbove.size() / 2])
            continue;
        QVector<TextLine> kept;
        for (const TextLine& line : lines)
            (line.box.y0 >= rule.y1 ? notes : kept).append(line);
        lines = kept;
        break;
    }
    return notes;
}

} // namespace

QVector<LaidParagraph> splitParagraphs(const QVector<TextLine>& lines, fz_rect column, fz_rect area)
{
    QVector<LaidParagraph> paragraphs;
    if (lines.isEmpty())
        return paragraphs;
    // The usual distance between baselines; wider gaps part paragraphs.
    QVector<float> pitches;
    for (int i = 1; i < lines.size(); ++i) {
        const float pitch = lines[i].baseline - lines[i - 1].baseline;
        if (pitch > 0)
            pitches.append(pitch);
    }
    std::sort(pitches.begin(), pitches.end());
    // Too few lines to know the block's leading: a usual one.
    const float usualPitch = pitches.size() < 2 ? 1.2f * lines.front().size : pitches[pitches.size() / 2];
    int flushStart = 0;
    for (const TextLine& line : lines) {
        const float em = line.size;
        flushStart += (line.rtl ? std::fabs(line.box.x1 - column.x1) : std::fabs(line.box.x0 - column.x0)) < em ? 1 : 0;
    }
    // Indents and short last lines tell paragraphs apart only in text set flush to one side.
    const bool flush = flushStart * 2 >= lines.size();
    const QVector<bool> items = listItems(lines);

    LaidParagraph current;
    for (int i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        bool starts = current.lines.isEmpty();
        if (!starts) {
            const TextLine& previous = current.lines.back();
            const float em = std::max(line.size, previous.size);
            const float pitch = line.baseline - previous.baseline;
            const bool rtl = line.rtl;
            const float indent = rtl ? column.x1 - line.box.x1 : line.box.x0 - column.x0;
            const float previousIndent = rtl ? column.x1 - previous.box.x1 : previous.box.x0 - column.x0;
            const float room = rtl ? previous.box.x0 - column.x0 : column.x1 - previous.box.x1;
            if (line.monospace || previous.monospace || line.alone || previous.alone || hasLeader(line) || hasLeader(previous))
                starts = true; // code keeps its lines, a table of contents its rows
            else if (std::fabs(line.size - previous.size) > layoutTuning().paragraphs.sizeChange * em)
                starts = true; // a heading and its text
            else if (usualPitch > 0 && pitch > layoutTuning().paragraphs.widerPitch * usualPitch && pitch > layoutTuning().paragraphs.widerPitch * em)
                starts = true; // space between paragraphs
            else if (flush && !startsWithBullet(previous) && indent > layoutTuning().paragraphs.leastIndent * em && indent < layoutTuning().paragraphs.mostIndent * em
                     && previousIndent < layoutTuning().paragraphs.flushIndent * em
                     && i + 1 < lines.size()
                     && (rtl ? column.x1 - lines[i + 1].box.x1 : lines[i + 1].box.x0 - column.x0) < layoutTuning().paragraphs.flushIndent * em)
                starts = true; // a first line's indent
            else if (startsWithBullet(line) || items[i] || (startsWithNumber(line) && startsWithNumber(current.lines.front())))
                starts = true; // an item of a list, bulleted or numbered
            else if (flush && endsSentence(previous) && room > firstWordWidth(line) + em)
                starts = true; // the line before ended short of the column, with a sentence
            else if (flush && current.lines.size() == 1 && room > std::max(firstWordWidth(line) + em, layoutTuning().paragraphs.headingRoom * width(column))
                     && (rtl ? previous.box.x0 - line.box.x0 : line.box.x1 - previous.box.x1) > firstWordWidth(line) + em)
                starts = true; // a line alone that ends well short of the text under it: a heading
        }
        if (starts && !current.lines.isEmpty()) {
            paragraphs.append(current);
            current = LaidParagraph();
        }
        if (current.lines.isEmpty() && line.monospace) {
            // A line of code keeps its leading spaces: its indent.
            while (current.indent < line.glyphs.size() && line.glyphs[current.indent].isSpace())
                ++current.indent;
        }
        current.lines.append(line);
        current.rtl = current.rtl || line.rtl;
        current.box = fz_union_rect(current.box, line.box);
    }
    if (!current.lines.isEmpty())
        paragraphs.append(current);
    for (LaidParagraph& paragraph : paragraphs)
        paragraph.align = alignmentOf(paragraph, lines.size() == 1 ? area : column);
    return paragraphs;
}

namespace {

// What lies in a region of the page: its lines and graphics, and the drawn tables found in it
// before the panels around them.
struct Region
{
    QVector<TextLine> lines;
    PageGraphics graphics;
    QVector<FoundTable> tables;
};

// Moves what lies inside each panel out of region into the panel's own region.
QVector<Region> takePanelContents(const QVector<FoundPanel>& panels, Region& region)
{
    QVector<Region> contents(panels.size());
    auto panelOf = [&](const fz_rect& box) {
        for (int p = 0; p < panels.size(); ++p) {
            if (centreInside(box, panels[p].box))
                return p;
        }
        return -1;
    };
    QVector<TextLine> lines;
    for (const TextLine& line : region.lines) {
        const int p = panelOf(line.box);
        (p < 0 ? lines : contents[p].lines).append(line);
    }
    region.lines = lines;
    QVector<Shape> shapes;
    for (const Shape& shape : region.graphics.shapes) {
        const int p = panelOf(shape.box);
        (p < 0 ? shapes : contents[p].graphics.shapes).append(shape);
    }
    region.graphics.shapes = shapes;
    QVector<Rule> rules;
    for (const Rule& rule : region.graphics.rules) {
        const int p = panelOf(fz_make_rect(rule.x0, rule.y0, rule.x1, rule.y1));
        (p < 0 ? rules : contents[p].graphics.rules).append(rule);
    }
    region.graphics.rules = rules;
    QVector<FoundTable> tables;
    for (const FoundTable& table : region.tables) {
        const int p = panelOf(table.box);
        (p < 0 ? tables : contents[p].tables).append(table);
    }
    region.tables = tables;
    return contents;
}

template <typename Found>
void appendBoxes(QVector<fz_rect>& boxes, const QVector<Found>& found)
{
    for (const Found& each : found)
        boxes.append(each.box);
}

// What a region's text flows around, found before its lines are read: figures, tables, panels
// (with what lies inside each) and rows of centred blocks; and, on the whole page, its footnotes.
struct RegionParts
{
    QVector<FoundFigure> figures;
    QVector<FoundFigure> inlineFigures; // standing in lines, by the index their glyphs give
    QVector<FoundTable> tables;
    QVector<FoundPanel> panels;
    QVector<Region> panelContents;
    QVector<FoundBlockRow> rows;
    QVector<TextLine> notes;

    // The obstacles' boxes in this order: the walk over the reading order tells them apart by
    // their index.
    QVector<fz_rect> obstacles() const
    {
        QVector<fz_rect> boxes;
        appendBoxes(boxes, figures);
        appendBoxes(boxes, tables);
        appendBoxes(boxes, panels);
        appendBoxes(boxes, rows);
        return boxes;
    }
};

// Finds a region's tables, panels, figures, block rows and footnotes, taking their lines and
// shapes out of the region; what is left of its lines is running text. The pictures standing in
// lines will be the page's figures from firstFigure on.
RegionParts findRegionParts(Region& region, fz_rect area, bool wholePage, int firstFigure, const fz_cookie* cookie)
{
    RegionParts parts;
    QVector<TextLine>& lines = region.lines;
    // Tables drawn with rulings or as shaded cells, then the panels around them.
    QVector<FoundTable> found = findTables(region.graphics, lines);
    shadeRuledCells(found, region.graphics.shapes, area);
    region.tables += found + findShadedTables(region.graphics.shapes, lines, area);
    parts.panels = findPanels(region.graphics.shapes, lines, area);
    parts.panelContents = takePanelContents(parts.panels, region);
    const QVector<FoundTable>& ruledTables = region.tables;
    parts.figures = findFigures(region.graphics, ruledTables, lines, area, cookie);
    placeInlineFigures(parts.figures, lines, firstFigure, &parts.inlineFigures);
    QVector<fz_rect> drawn;
    appendBoxes(drawn, parts.figures);
    appendBoxes(drawn, ruledTables);
    appendBoxes(drawn, parts.panels);
    // A justified line split at its wide word gaps is one line again, before anything lines up.
    joinSplitLines(lines);
    // Before the tables from alignment, which would read side-by-side authors line by line.
    parts.rows = findBlockRows(lines, drawn);
    parts.tables = ruledTables + findTextTables(lines);
    // Footnotes are read after the columns above them, whichever column they stand under.
    if (wholePage)
        parts.notes = takeFootnotes(lines, region.graphics.rules, area);
    return parts;
}

// The order the region's elements are read in: its lines, then its obstacles, by their index in
// lines + obstacles; the footnotes, ordered among themselves, follow with indexes past those.
QVector<int> elementOrder(const QVector<TextLine>& lines, const QVector<fz_rect>& obstacles, const QVector<TextLine>& notes,
                          const fz_cookie* cookie)
{
    QVector<fz_rect> lineBoxes;
    lineBoxes.reserve(lines.size());
    for (const TextLine& line : lines)
        lineBoxes.append(line.box);
    QVector<int> order = readingOrder(lineBoxes, obstacles, cookie);
    if (!notes.isEmpty()) {
        QVector<fz_rect> noteBoxes;
        for (const TextLine& note : notes)
            noteBoxes.append(note.box);
        const int first = lines.size() + obstacles.size();
        QVector<int> notesOrder = readingOrder(noteBoxes, {}, cookie);
        for (int& index : notesOrder)
            index += first;
        order += notesOrder;
    }
    return order;
}

// Gathers lines in reading order into blocks, runs of lines down one column, and splits each
// block into paragraphs, which go to the page's paragraphs and the region's items.
class ParagraphGatherer
{
public:
    ParagraphGatherer(PageLayout& page, QVector<PageItem>& items, fz_rect textArea)
        : m_page(page)
        , m_items(items)
        , m_textArea(textArea)
    {
    }

    // A line joins the open block if it continues it and is of the same kind (footnote or
    // not); else that block is closed first.
    void addLine(const TextLine& line, bool note)
    {
        if (!m_block.isEmpty() && (!continuesBlock(m_block.back(), line) || note != m_inNotes))
            closeBlock();
        m_inNotes = note;
        m_block.append(line);
        m_blockBox = fz_union_rect(m_blockBox, line.box);
    }

    // Splits the open block into paragraphs; an obstacle or the region's end closes it.
    void closeBlock()
    {
        if (m_block.isEmpty())
            return;
        for (const LaidParagraph& paragraph : splitParagraphs(m_block, m_blockBox, m_textArea))
            addParagraph(paragraph);
        m_block.clear();
        m_blockBox = fz_empty_rect;
    }

    // A row of centred blocks: each line as it is set, block by block.
    void addRow(const FoundBlockRow& row)
    {
        for (const QVector<TextLine>& rowBlock : row.blocks) {
            for (const TextLine& line : rowBlock) {
                LaidParagraph paragraph;
                paragraph.lines = {line};
                paragraph.align = Align::Center;
                paragraph.rtl = line.rtl;
                paragraph.box = line.box;
                addParagraph(paragraph);
            }
        }
    }

private:
    // A paragraph goes to the page's list, and as an item (a footnote's if the block is one) to
    // the region's.
    void addParagraph(const LaidParagraph& paragraph)
    {
        PageItem item;
        item.kind = PageItem::Paragraph;
        item.note = m_inNotes;
        item.index = m_page.paragraphs.size();
        item.box = paragraph.box;
        m_page.paragraphs.append(paragraph);
        m_items.append(item);
    }

    PageLayout& m_page;
    QVector<PageItem>& m_items;
    const fz_rect m_textArea;
    QVector<TextLine> m_block;
    fz_rect m_blockBox = fz_empty_rect;
    bool m_inNotes = false;
};

// Lays out a region (the page, or a panel's inside) into the page's lists; the region's items go
// to items in reading order. Footnotes are sought on the whole page only.
void layOutRegion(PageLayout& page, Region region, fz_rect area, bool wholePage, QVector<PageItem>& items,
                  const fz_cookie* cookie)
{
    RegionParts parts = findRegionParts(region, area, wholePage, page.figures.size(), cookie);
    // The pictures standing in lines are the page's figures next, as their glyphs name them.
    page.figures += parts.inlineFigures;
    const QVector<TextLine>& lines = region.lines;
    const QVector<fz_rect> obstacles = parts.obstacles();
    const QVector<int> order = elementOrder(lines, obstacles, parts.notes, cookie);
    fz_rect textArea = fz_empty_rect;
    for (const TextLine& line : lines)
        textArea = fz_union_rect(textArea, line.box);
    ParagraphGatherer text(page, items, textArea);
    const int firstNote = lines.size() + obstacles.size();
    for (int element : order) {
        if (element < lines.size() || element >= firstNote) {
            const bool note = element >= firstNote;
            text.addLine(note ? parts.notes[element - firstNote] : lines[element], note);
            continue;
        }
        text.closeBlock();
        int obstacle = element - lines.size();
        if (obstacle >= parts.figures.size() + parts.tables.size() + parts.panels.size()) {
            text.addRow(parts.rows[obstacle - parts.figures.size() - parts.tables.size() - parts.panels.size()]);
            continue;
        }
        PageItem item;
        item.box = obstacles[obstacle];
        if (obstacle < parts.figures.size()) {
            item.kind = PageItem::Figure;
            item.index = page.figures.size();
            page.figures.append(parts.figures[obstacle]);
        } else if ((obstacle -= parts.figures.size()) < parts.tables.size()) {
            item.kind = PageItem::Table;
            item.index = page.tables.size();
            page.tables.append(parts.tables[obstacle]);
        } else {
            obstacle -= parts.tables.size();
            FoundPanel& panel = parts.panels[obstacle];
            layOutRegion(page, parts.panelContents[obstacle], panel.box, false, panel.items, cookie);
            item.kind = PageItem::Panel;
            item.index = page.panels.size();
            page.panels.append(panel);
        }
        items.append(item);
    }
    text.closeBlock();
}

} // namespace

PageLayout layOutPage(QVector<TextLine> lines, const PageGraphics& graphics, fz_rect mediabox, const fz_cookie* cookie)
{
    PageLayout page;
    page.mediabox = mediabox;
    Region region;
    region.lines = lines;
    region.graphics = graphics;
    // Shapes keep their place in the page's list, which the pictures are drawn from.
    for (int i = 0; i < region.graphics.shapes.size(); ++i)
        region.graphics.shapes[i].id = i;
    markHighlights(region.graphics.shapes, region.lines);
    markCheckBoxes(region.graphics.shapes, region.lines);
    layOutRegion(page, region, mediabox, true, page.items, cookie);

    // Single lines in the top or bottom margin may be running heads or page numbers; the
    // document decides once it has seen every page.
    const float height = mediabox.y1 - mediabox.y0;
    for (PageItem& item : page.items) {
        if (item.kind != PageItem::Paragraph || page.paragraphs[item.index].lines.size() > 2)
            continue;
        item.margin = item.box.y1 < mediabox.y0 + layoutTuning().paragraphs.marginShare * height || item.box.y0 > mediabox.y1 - layoutTuning().paragraphs.marginShare * height;
    }
    findColumns(page);
    return page;
}

} // namespace p2w
