#include "platform/pdf2word/engine/write/Outputs.h"
#include "platform/pdf2word/engine/write/WriteTuning.h"
#include "platform/pdf2word/engine/write/ZipFile.h"

#include <QHash>
#include <QMap>
#include <QXmlStreamWriter>

#include <algorithm>

namespace p2w {

namespace {

const char kOffice[] = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
const char kStyle[] = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
const char kText[] = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
const char kFo[] = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
const char kSvg[] = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
const char kDraw[] = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
const char kXlink[] = "http://www.w3.org/1999/xlink";
const char kManifest[] = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";
const char kTable[] = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";

QString imageEntry(const FlowDocument& document, int image)
{
    return QStringLiteral("Pictures/image%1.%2")
        .arg(image + 1)
        .arg(document.images[image].type == QLatin1String("jpeg") ? QStringLiteral("jpg") : QStringLiteral("png"));
}

// ODF aligns to the start or end of the paragraph's direction: the right edge starts a
// right-to-left paragraph.
QString textAlign(Align align, bool rtl)
{
    if (align == Align::Justify)
        return QStringLiteral("justify");
    if (align == Align::Center)
        return QStringLiteral("center");
    return (align == Align::Right) != rtl ? QStringLiteral("end") : QStringLiteral("start");
}

QString lookKey(const FlowRun& run)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(run.font)
        .arg(qRound(run.size * 2))
        .arg(run.bold)
        .arg(run.italic)
        .arg(run.shift)
        .arg(run.color)
        .arg(run.shading);
}

QString paragraphKey(const FlowBlock& block)
{
    return QString::number(int(block.align)) + (block.rtl ? QStringLiteral("|rtl") : QString())
           + (block.pageBreakBefore ? QStringLiteral("|break") : QString())
           + (block.columnBreakBefore ? QStringLiteral("|column") : QString())
           + QStringLiteral("|%1|%2|%3").arg(qRound(block.spaceBefore * 10)).arg(qRound(block.lineSpacing * 10)).arg(exactLineSpacing(block))
           + QStringLiteral("|%1|%2|%3").arg(qRound(block.leftIndent * 10)).arg(qRound(block.rightIndent * 10)).arg(qRound(block.firstLineIndent * 10));
}

QString points(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral("pt");
}

// ODF collapses runs of spaces and knows tabs as elements: write them as text:s and text:tab.
void writeOdfText(QXmlStreamWriter& xml, const QString& text)
{
    QString pending;
    const QString safe = xmlSafe(text);
    for (int i = 0; i < safe.size(); ++i) {
        const QChar c = safe[i];
        if (c == QLatin1Char('\t')) {
            xml.writeCharacters(pending);
            pending.clear();
            xml.writeEmptyElement(QStringLiteral("text:tab"));
        } else if (c == QLatin1Char(' ') && i + 1 < safe.size() && safe[i + 1] == QLatin1Char(' ')) {
            int count = 0;
            while (i + count < safe.size() && safe[i + count] == QLatin1Char(' '))
                ++count;
            pending += QLatin1Char(' ');
            xml.writeCharacters(pending);
            pending.clear();
            xml.writeEmptyElement(QStringLiteral("text:s"));
            xml.writeAttribute(QStringLiteral("text:c"), QString::number(count - 1));
            i += count - 1;
        } else {
            pending += c;
        }
    }
    xml.writeCharacters(pending);
}

// The automatic styles a document needs: one per paragraph look and one per text look.
struct Styles
{
    QMap<QString, QString> text;             // look -> style name
    QMap<QString, FlowRun> textLooks;        // style name -> look
    QMap<QString, QString> paragraph;        // alignment and direction -> style name
    QMap<QString, FlowBlock> paragraphLooks; // style name -> a paragraph of that look

    void add(const FlowBlock& block)
    {
        if (!paragraph.contains(paragraphKey(block))) {
            const QString name = QStringLiteral("P%1").arg(paragraph.size() + 1);
            paragraph.insert(paragraphKey(block), name);
            paragraphLooks.insert(name, block);
        }
        for (const FlowRun& run : block.runs) {
            if (!text.contains(lookKey(run))) {
                const QString name = QStringLiteral("T%1").arg(text.size() + 1);
                text.insert(lookKey(run), name);
                textLooks.insert(name, run);
            }
        }
    }
};

// A block that opens pages of a master page of its own: the document's first page with margins of
// its own ("First"), or the first of the pages of another format ("Format2"...). Its paragraph
// (or picture) takes a style of its own, its look on that master page; a table its table style.
struct Opening
{
    int block = 0;  // index into the document's blocks
    QString master; // the master page
    QString style;  // the paragraph style
};

// The page formats the ranges stand on, each once, in order of first use.
QList<FlowPageFormat> distinctFormats(const QList<BlockRange>& ranges)
{
    QList<FlowPageFormat> formats;
    for (const BlockRange& range : ranges) {
        if (std::none_of(formats.begin(), formats.end(), [&](const FlowPageFormat& format) { return format.sameAs(range.format); }))
            formats.append(range.format);
    }
    return formats;
}

// The master page of the pages of a format: "Standard" for the first, "Format2"... for the others.
QString masterOf(const QList<FlowPageFormat>& formats, const FlowPageFormat& format)
{
    for (int f = 1; f < formats.size(); ++f) {
        if (formats[f].sameAs(format))
            return QStringLiteral("Format%1").arg(f + 1);
    }
    return QStringLiteral("Standard");
}

// The blocks that open pages of another master page; firstPage: the first page has margins of its
// own.
QList<Opening> openings(const FlowDocument& document, const QList<BlockRange>& ranges, bool firstPage)
{
    const QList<FlowPageFormat> formats = distinctFormats(ranges);
    QList<Opening> opening;
    for (int r = 0; r < ranges.size(); ++r) {
        const BlockRange& range = ranges[r];
        if (range.count == 0 || range.first >= document.blocks.size())
            continue;
        if (r == 0 && firstPage)
            opening.append({range.first, QStringLiteral("First"), QStringLiteral("PFirst")});
        else if (range.newFormat)
            opening.append({range.first, masterOf(formats, range.format), QStringLiteral("PM%1").arg(range.first)});
    }
    return opening;
}

void writeFrame(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, int image, const FlowBlock* placed,
                double anchorSpace);

// style: the paragraph style of a block that opens pages of its own; empty for its look's; area:
// the text area, for the pictures in its lines.
void writeParagraph(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QSizeF& area, const FlowBlock& block,
                    const QString& style)
{
    xml.writeStartElement(QStringLiteral("text:p"));
    xml.writeAttribute(QStringLiteral("text:style-name"), !style.isEmpty() ? style : styles.paragraph.value(paragraphKey(block)));
    for (const FlowRun& run : block.runs) {
        if (run.image >= 0) {
            writeFrame(xml, document, area, run.image, nullptr, 0);
            continue;
        }
        xml.writeStartElement(QStringLiteral("text:span"));
        xml.writeAttribute(QStringLiteral("text:style-name"), styles.text.value(lookKey(run)));
        writeOdfText(xml, run.text);
        xml.writeEndElement();
    }
    xml.writeEndElement(); // text:p
}

// The paragraph style that only anchors a box floating beside the text, as low as can be, and
// the frame style that sets the box at its place with the text flowing around it.
const char kAnchorStyle[] = "PAnchor";
const char kFloatFrameStyle[] = "frFloat";
const char kPageFloatFrameStyle[] = "frFloatPage"; // one read after the text beside it, from the page's top
// The frame styles that set a line at its place at its page's foot, and a picture at its place on
// its page.
const char kFootFrameStyle[] = "frFoot";
const char kPageFrameStyle[] = "frPage";

// A floating box's frame: anchored to its paragraph, from the page's left edge and the top of
// the block after it, below the space above that block (anchorSpace).
void writeFloatPlace(QXmlStreamWriter& xml, const FlowBlock& block, double anchorSpace)
{
    xml.writeAttribute(QStringLiteral("draw:style-name"), QLatin1String(block.floatFromPage ? kPageFloatFrameStyle : kFloatFrameStyle));
    xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("paragraph"));
    xml.writeAttribute(QStringLiteral("svg:x"), points(block.floatX));
    xml.writeAttribute(QStringLiteral("svg:y"), points(block.floatFromPage ? block.floatY : block.floatY + anchorSpace));
}

void writeFloatStyles(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), QLatin1String(kAnchorStyle));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    xml.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    xml.writeAttribute(QStringLiteral("fo:margin-top"), points(0));
    xml.writeAttribute(QStringLiteral("fo:margin-bottom"), points(0));
    xml.writeAttribute(QStringLiteral("fo:line-height"), points(1));
    xml.writeEmptyElement(QStringLiteral("style:text-properties"));
    xml.writeAttribute(QStringLiteral("fo:font-size"), points(1));
    xml.writeEndElement();
    // A floating box beside the text, which flows around it; a line at its page's foot from the text
    // area's left edge (its indents place it); a picture at its place from the page's corner.
    const struct
    {
        const char* name;
        const char* wrap;
        const char* horizontal;
        const char* vertical;
        double gap;
    } frames[] = {{kFloatFrameStyle, "parallel", "page", "paragraph", writeTuning().floatGap},
                  {kPageFloatFrameStyle, "parallel", "page", "page", writeTuning().floatGap},
                  {kFootFrameStyle, "none", "page-content", "page", 0},
                  {kPageFrameStyle, "none", "page", "page", 0}};
    for (const auto& frame : frames) {
        xml.writeStartElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), QLatin1String(frame.name));
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("graphic"));
        xml.writeEmptyElement(QStringLiteral("style:graphic-properties"));
        xml.writeAttribute(QStringLiteral("style:wrap"), QLatin1String(frame.wrap));
        xml.writeAttribute(QStringLiteral("style:number-wrapped-paragraphs"), QStringLiteral("no-limit"));
        xml.writeAttribute(QStringLiteral("style:horizontal-pos"), QStringLiteral("from-left"));
        xml.writeAttribute(QStringLiteral("style:horizontal-rel"), QLatin1String(frame.horizontal));
        xml.writeAttribute(QStringLiteral("style:vertical-pos"), QStringLiteral("from-top"));
        xml.writeAttribute(QStringLiteral("style:vertical-rel"), QLatin1String(frame.vertical));
        xml.writeAttribute(QStringLiteral("fo:margin-left"), points(frame.gap));
        xml.writeAttribute(QStringLiteral("fo:margin-right"), points(frame.gap));
        xml.writeAttribute(QStringLiteral("fo:padding"), points(0));
        xml.writeAttribute(QStringLiteral("fo:border"), QStringLiteral("none"));
        xml.writeEndElement();
    }
}

// The frame of picture image: in the line, or where placed floats, at its place beside the text
// (anchorSpace: the space above the block after it, which its paragraph comes before).
void writeFrame(QXmlStreamWriter& xml, const FlowDocument& document, const QSizeF& area, int image, const FlowBlock* placed,
                double anchorSpace)
{
    // A picture at its place on the page keeps its size there.
    const bool atPage = placed && placed->pageY >= 0;
    const QSizeF size = atPage ? QSizeF(document.images[image].width, document.images[image].height)
                               : fittedPictureSize(area, document.images[image]);
    xml.writeStartElement(QStringLiteral("draw:frame"));
    xml.writeAttribute(QStringLiteral("draw:name"), QStringLiteral("Picture %1").arg(image + 1));
    if (placed && placed->floats) {
        writeFloatPlace(xml, *placed, anchorSpace);
    } else if (atPage) {
        xml.writeAttribute(QStringLiteral("draw:style-name"), QLatin1String(kPageFrameStyle));
        xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("paragraph"));
        xml.writeAttribute(QStringLiteral("svg:x"), points(placed->floatX));
        xml.writeAttribute(QStringLiteral("svg:y"), points(placed->pageY));
    } else {
        xml.writeAttribute(QStringLiteral("draw:style-name"), QStringLiteral("fr1"));
        xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
    }
    xml.writeAttribute(QStringLiteral("svg:width"), points(size.width()));
    xml.writeAttribute(QStringLiteral("svg:height"), points(size.height()));
    xml.writeAttribute(QStringLiteral("draw:z-index"), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("draw:image"));
    xml.writeAttribute(QStringLiteral("xlink:href"), imageEntry(document, image));
    xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    xml.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
    xml.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    if (!document.images[image].description.isEmpty())
        xml.writeTextElement(QStringLiteral("svg:desc"), xmlSafe(document.images[image].description));
    xml.writeEndElement(); // draw:frame
}

void writePicture(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QSizeF& area,
                  const FlowBlock& block, const QString& style, double anchorSpace)
{
    xml.writeStartElement(QStringLiteral("text:p"));
    xml.writeAttribute(QStringLiteral("text:style-name"), !style.isEmpty()                   ? style
                                                          : block.floats || block.pageY >= 0 ? QLatin1String(kAnchorStyle)
                                                                                             : styles.paragraph.value(paragraphKey(block)));
    writeFrame(xml, document, area, block.image, &block, anchorSpace);
    xml.writeEndElement(); // text:p
}

// The space above a table of the body, where it stands in from the text area's edge, and the page
// or column it starts, as its block says.
void writeTableBreaks(QXmlStreamWriter& xml, const FlowDocument& document, int table)
{
    for (const FlowBlock& block : document.blocks) {
        if (block.kind != FlowBlock::Table || block.table != table)
            continue;
        if (block.spaceBefore > 0)
            xml.writeAttribute(QStringLiteral("fo:margin-top"), points(block.spaceBefore));
        if (block.leftIndent > 0 && !block.floats)
            xml.writeAttribute(QStringLiteral("fo:margin-left"), points(block.leftIndent));
        if (block.pageBreakBefore || block.columnBreakBefore)
            xml.writeAttribute(QStringLiteral("fo:break-before"), block.pageBreakBefore ? QStringLiteral("page") : QStringLiteral("column"));
        return;
    }
}

// The style of each section of columns ("Sect1"...): the columns as wide as in the source, each
// with half the gap to its neighbours as its indents.
void writeSectionStyles(QXmlStreamWriter& xml, const FlowDocument& document)
{
    for (int s = 0; s < document.sections.size(); ++s) {
        QList<double> widths;
        QList<double> gaps;
        fittedColumns(textArea(document.formatOf(document.sections[s].first)), document.sections[s], &widths, &gaps);
        xml.writeStartElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Sect%1").arg(s + 1));
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("section"));
        xml.writeStartElement(QStringLiteral("style:section-properties"));
        xml.writeAttribute(QStringLiteral("text:dont-balance-text-columns"), QStringLiteral("false"));
        xml.writeStartElement(QStringLiteral("style:columns"));
        xml.writeAttribute(QStringLiteral("fo:column-count"), QString::number(widths.size()));
        for (int c = 0; c < widths.size(); ++c) {
            const double before = c > 0 ? gaps[c - 1] / 2 : 0;
            const double after = c < gaps.size() ? gaps[c] / 2 : 0;
            xml.writeEmptyElement(QStringLiteral("style:column"));
            xml.writeAttribute(QStringLiteral("style:rel-width"), QStringLiteral("%1*").arg(qRound((widths[c] + before + after) * 20)));
            xml.writeAttribute(QStringLiteral("fo:start-indent"), points(before));
            xml.writeAttribute(QStringLiteral("fo:end-indent"), points(after));
        }
        xml.writeEndElement(); // style:columns
        xml.writeEndElement(); // style:section-properties
        xml.writeEndElement(); // style:style
    }
}

// masters: the master page of each table that opens pages of its own.
void writeTableStyles(QXmlStreamWriter& xml, const FlowDocument& document, const QHash<int, QString>& masters)
{
    const QVector<QSizeF> areas = tableAreas(document);
    for (int t = 0; t < document.tables.size(); ++t) {
        const QList<double> widths = fittedColumnWidths(areas[t], document.tables[t]);
        double total = 0;
        for (double width : widths)
            total += width;
        xml.writeStartElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Table%1").arg(t + 1));
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table"));
        if (masters.contains(t))
            xml.writeAttribute(QStringLiteral("style:master-page-name"), masters.value(t));
        xml.writeEmptyElement(QStringLiteral("style:table-properties"));
        xml.writeAttribute(QStringLiteral("style:width"), points(total));
        xml.writeAttribute(QStringLiteral("table:align"), QStringLiteral("left"));
        if (document.tables[t].rtl)
            xml.writeAttribute(QStringLiteral("style:writing-mode"), QStringLiteral("rl-tb"));
        writeTableBreaks(xml, document, t);
        xml.writeEndElement();
        const QList<double>& heights = document.tables[t].rowHeights;
        for (int r = 0; r < heights.size(); ++r) {
            xml.writeStartElement(QStringLiteral("style:style"));
            xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Table%1.R%2").arg(t + 1).arg(r + 1));
            xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-row"));
            xml.writeEmptyElement(QStringLiteral("style:table-row-properties"));
            xml.writeAttribute(QStringLiteral("style:min-row-height"), points(heights[r]));
            xml.writeEndElement();
        }
        for (int c = 0; c < widths.size(); ++c) {
            xml.writeStartElement(QStringLiteral("style:style"));
            xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Table%1.C%2").arg(t + 1).arg(c + 1));
            xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-column"));
            xml.writeEmptyElement(QStringLiteral("style:table-column-properties"));
            xml.writeAttribute(QStringLiteral("style:column-width"), points(widths[c]));
            xml.writeEndElement();
        }
    }
}

// The style of a table's cells of one background: "Table1.Cell" for the table's own, and
// "Table1.Cell.1F4E79" for cells shaded apart.
QString cellStyleName(int table, int shading)
{
    return shading < 0 ? QStringLiteral("Table%1.Cell").arg(table + 1) : QStringLiteral("Table%1.Cell.%2").arg(table + 1).arg(hexColor(shading));
}

// A ruled table's cells have a line around them; a table found from the text's alignment or
// drawn as shaded cells has none; a panel its frame and tint. Shaded cells have a style each
// background.
void writeCellStyles(QXmlStreamWriter& xml, const FlowDocument& document)
{
    for (int t = 0; t < document.tables.size(); ++t) {
        const FlowTable& table = document.tables[t];
        QList<int> shadings = {-1};
        for (const FlowCell& cell : table.cells) {
            if (cell.shading >= 0 && !shadings.contains(cell.shading))
                shadings << cell.shading;
        }
        for (int shading : shadings) {
            xml.writeStartElement(QStringLiteral("style:style"));
            xml.writeAttribute(QStringLiteral("style:name"), cellStyleName(t, shading));
            xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-cell"));
            xml.writeEmptyElement(QStringLiteral("style:table-cell-properties"));
            xml.writeAttribute(QStringLiteral("fo:padding"), QStringLiteral("%1pt").arg(kCellPadding));
            const bool drawn = table.borders == FlowTable::Grid || (table.borders == FlowTable::Frame && table.borderColor >= 0);
            xml.writeAttribute(QStringLiteral("fo:border"),
                               drawn ? QStringLiteral("0.5pt solid #") + hexColor(table.borders == FlowTable::Grid ? 0 : table.borderColor)
                                     : QStringLiteral("none"));
            const int background = shading >= 0 ? shading : table.shading;
            if (background >= 0)
                xml.writeAttribute(QStringLiteral("fo:background-color"), QLatin1Char('#') + hexColor(background));
            xml.writeEndElement();
        }
    }
}

// area: the text area of the pages the blocks stand on; openingStyle: the paragraph style of the
// first block where it opens pages of their own (a table does it through its table style).
void writeBlocks(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<FlowBlock>& blocks,
                 const QSizeF& area, const QString& openingStyle = QString());

void writeTable(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QSizeF& area, int index)
{
    const FlowTable& table = document.tables[index];
    const int columns = table.columnWidths.size();
    xml.writeStartElement(QStringLiteral("table:table"));
    xml.writeAttribute(QStringLiteral("table:name"), QStringLiteral("Table%1").arg(index + 1));
    xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Table%1").arg(index + 1));
    for (int c = 0; c < columns; ++c) {
        xml.writeEmptyElement(QStringLiteral("table:table-column"));
        xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Table%1.C%2").arg(index + 1).arg(c + 1));
    }
    const QVector<int> coverage = tableCoverage(table);
    for (int r = 0; r < table.rows; ++r) {
        xml.writeStartElement(QStringLiteral("table:table-row"));
        if (r < table.rowHeights.size())
            xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("Table%1.R%2").arg(index + 1).arg(r + 1));
        for (int c = 0; c < columns; ++c) {
            const int cellIndex = coverage[r * columns + c];
            const bool starts = cellIndex >= 0 && table.cells[cellIndex].row == r && table.cells[cellIndex].column == c;
            if (cellIndex >= 0 && !starts) {
                xml.writeEmptyElement(QStringLiteral("table:covered-table-cell"));
                continue;
            }
            xml.writeStartElement(QStringLiteral("table:table-cell"));
            xml.writeAttribute(QStringLiteral("table:style-name"),
                               cellStyleName(index, cellIndex >= 0 ? table.cells[cellIndex].shading : -1));
            xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
            if (cellIndex >= 0) {
                const FlowCell& cell = table.cells[cellIndex];
                if (cell.columnSpan > 1)
                    xml.writeAttribute(QStringLiteral("table:number-columns-spanned"), QString::number(cell.columnSpan));
                if (cell.rowSpan > 1)
                    xml.writeAttribute(QStringLiteral("table:number-rows-spanned"), QString::number(cell.rowSpan));
                writeBlocks(xml, styles, document, cell.paragraphs, area);
                if (cell.paragraphs.isEmpty())
                    xml.writeEmptyElement(QStringLiteral("text:p"));
            } else {
                xml.writeEmptyElement(QStringLiteral("text:p"));
            }
            xml.writeEndElement(); // table:table-cell
        }
        xml.writeEndElement(); // table:table-row
    }
    xml.writeEndElement(); // table:table
}

void writeBlocks(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<FlowBlock>& blocks,
                 const QSizeF& area, const QString& openingStyle)
{
    for (int i = 0; i < blocks.size(); ++i) {
        const FlowBlock& block = blocks[i];
        const QString style = i == 0 ? openingStyle : QString();
        // The space above the block after a floating box, whose paragraph comes before it.
        const double anchorSpace = i + 1 < blocks.size() ? qMax(0.0, blocks[i + 1].spaceBefore) : 0.0;
        if (block.kind == FlowBlock::Image) {
            writePicture(xml, styles, document, area, block, style, anchorSpace);
        } else if (block.kind == FlowBlock::Table && block.floats) {
            // A table floating beside the text: in a frame at its place, as wide as the table.
            double width = 0;
            for (double column : fittedColumnWidths(area, document.tables[block.table]))
                width += column;
            xml.writeStartElement(QStringLiteral("text:p"));
            xml.writeAttribute(QStringLiteral("text:style-name"), style.isEmpty() ? QLatin1String(kAnchorStyle) : style);
            xml.writeStartElement(QStringLiteral("draw:frame"));
            xml.writeAttribute(QStringLiteral("draw:name"), QStringLiteral("Box %1").arg(block.table + 1));
            writeFloatPlace(xml, block, anchorSpace);
            xml.writeAttribute(QStringLiteral("svg:width"), points(width));
            xml.writeAttribute(QStringLiteral("draw:z-index"), QStringLiteral("0"));
            xml.writeStartElement(QStringLiteral("draw:text-box"));
            xml.writeAttribute(QStringLiteral("fo:min-height"), points(1));
            writeTable(xml, styles, document, area, block.table);
            xml.writeEndElement(); // draw:text-box
            xml.writeEndElement(); // draw:frame
            xml.writeEndElement(); // text:p
        } else if (block.kind == FlowBlock::Table) {
            writeTable(xml, styles, document, area, block.table);
        } else if (block.pageY >= 0) {
            // A line at the page's foot: in a frame at its place, as wide as the text area.
            xml.writeStartElement(QStringLiteral("text:p"));
            xml.writeAttribute(QStringLiteral("text:style-name"), style.isEmpty() ? QLatin1String(kAnchorStyle) : style);
            xml.writeStartElement(QStringLiteral("draw:frame"));
            xml.writeAttribute(QStringLiteral("draw:style-name"), QLatin1String(kFootFrameStyle));
            xml.writeAttribute(QStringLiteral("draw:name"), QStringLiteral("Foot %1").arg(i + 1));
            xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("paragraph"));
            xml.writeAttribute(QStringLiteral("svg:x"), points(0));
            xml.writeAttribute(QStringLiteral("svg:y"), points(block.pageY));
            xml.writeAttribute(QStringLiteral("svg:width"), points(area.width()));
            xml.writeAttribute(QStringLiteral("draw:z-index"), QStringLiteral("0"));
            xml.writeStartElement(QStringLiteral("draw:text-box"));
            xml.writeAttribute(QStringLiteral("fo:min-height"), points(1));
            writeParagraph(xml, styles, document, area, block, QString());
            xml.writeEndElement(); // draw:text-box
            xml.writeEndElement(); // draw:frame
            xml.writeEndElement(); // text:p
        } else {
            writeParagraph(xml, styles, document, area, block, style);
        }
    }
}

// master: the master page whose pages the paragraph opens; empty for none.
void writeParagraphStyle(QXmlStreamWriter& xml, const QString& name, const FlowBlock& look, const QString& master = QString())
{
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), name);
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    if (!master.isEmpty())
        xml.writeAttribute(QStringLiteral("style:master-page-name"), master);
    xml.writeEmptyElement(QStringLiteral("style:paragraph-properties"));
    xml.writeAttribute(QStringLiteral("fo:text-align"), textAlign(look.align, look.rtl));
    // The space above it as in the source where known, else the usual space after a paragraph.
    xml.writeAttribute(QStringLiteral("fo:margin-top"), points(qMax(0.0, look.spaceBefore)));
    xml.writeAttribute(QStringLiteral("fo:margin-bottom"), look.spaceBefore >= 0 ? points(0) : QStringLiteral("6pt"));
    if (look.lineSpacing > 0)
        xml.writeAttribute(exactLineSpacing(look) ? QStringLiteral("fo:line-height") : QStringLiteral("style:line-height-at-least"),
                           points(look.lineSpacing));
    if (look.pageBreakBefore || look.columnBreakBefore)
        xml.writeAttribute(QStringLiteral("fo:break-before"), look.pageBreakBefore ? QStringLiteral("page") : QStringLiteral("column"));
    if (look.leftIndent > 0)
        xml.writeAttribute(QStringLiteral("fo:margin-left"), points(look.leftIndent));
    if (look.rightIndent > 0)
        xml.writeAttribute(QStringLiteral("fo:margin-right"), points(look.rightIndent));
    if (look.firstLineIndent != 0)
        xml.writeAttribute(QStringLiteral("fo:text-indent"), points(look.firstLineIndent));
    if (look.rtl)
        xml.writeAttribute(QStringLiteral("style:writing-mode"), QStringLiteral("rl-tb"));
    xml.writeEndElement();
}

// The fonts the runs name, with their family class and pitch, and PANOSE and the symbol
// character set where the font files gave them, so that a reader without a font substitutes a
// like one.
void writeFontFaces(QXmlStreamWriter& xml, const FlowDocument& document)
{
    xml.writeStartElement(QStringLiteral("office:font-face-decls"));
    for (const FlowFont& font : document.fonts) {
        const QString name = xmlSafe(font.name);
        xml.writeEmptyElement(QStringLiteral("style:font-face"));
        xml.writeAttribute(QStringLiteral("style:name"), name);
        xml.writeAttribute(QStringLiteral("svg:font-family"), QStringLiteral("'%1'").arg(name));
        xml.writeAttribute(QStringLiteral("style:font-family-generic"), familyName(font.family));
        xml.writeAttribute(QStringLiteral("style:font-pitch"), pitchName(font));
        if (font.charset == 2)
            xml.writeAttribute(QStringLiteral("style:font-charset"), QStringLiteral("x-symbol"));
        if (font.panose.size() == 10) {
            QStringList digits;
            for (const char digit : font.panose)
                digits << QString::number(int(digit));
            xml.writeAttribute(QStringLiteral("svg:panose-1"), digits.join(QLatin1Char(' ')));
        }
    }
    xml.writeEndElement();
}

// The body's blocks, those in columns inside their section; the blocks that open pages of their
// own take their styles.
void writeBody(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<Opening>& opening)
{
    QHash<int, QString> openingStyles;
    for (const Opening& each : opening)
        openingStyles.insert(each.block, each.style);
    for (const BlockRange& range : blockRanges(document)) {
        // A section cut where the pages change format goes on in the same style.
        int index = 0;
        while (range.columns && index < document.sections.size() && &document.sections[index] != range.columns)
            ++index;
        ++index;
        if (range.columns) {
            xml.writeStartElement(QStringLiteral("text:section"));
            xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Sect%1").arg(index));
            xml.writeAttribute(QStringLiteral("text:name"), QStringLiteral("Section%1_%2").arg(index).arg(range.first));
        }
        writeBlocks(xml, styles, document, document.blocks.mid(range.first, range.count), textArea(range.format),
                    openingStyles.value(range.first));
        if (range.columns)
            xml.writeEndElement();
    }
}

// Which paragraph and text looks get a style of their own, inside tables' cells too.
Styles documentStyles(const FlowDocument& document)
{
    Styles styles;
    for (const FlowBlock& block : document.blocks) {
        // A picture stands in a paragraph with its breaks and space.
        if (block.kind != FlowBlock::Table)
            styles.add(block);
    }
    for (const FlowTable& table : document.tables) {
        for (const FlowCell& cell : table.cells) {
            for (const FlowBlock& block : cell.paragraphs) {
                if (block.kind == FlowBlock::Paragraph)
                    styles.add(block);
            }
        }
    }
    return styles;
}

// A run look's text style: font, size, weight, slant, colour, highlight and shift above or below
// the line.
void writeTextStyle(QXmlStreamWriter& xml, const QString& name, const FlowRun& look)
{
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), name);
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("text"));
    xml.writeEmptyElement(QStringLiteral("style:text-properties"));
    if (!look.font.isEmpty()) {
        xml.writeAttribute(QStringLiteral("style:font-name"), xmlSafe(look.font));
        xml.writeAttribute(QStringLiteral("style:font-name-complex"), xmlSafe(look.font));
    }
    if (look.size > 0) {
        xml.writeAttribute(QStringLiteral("fo:font-size"), points(qRound(look.size * 2) / 2.0));
        xml.writeAttribute(QStringLiteral("style:font-size-complex"), points(qRound(look.size * 2) / 2.0));
    }
    xml.writeAttribute(QStringLiteral("fo:font-weight"), look.bold ? QStringLiteral("bold") : QStringLiteral("normal"));
    xml.writeAttribute(QStringLiteral("fo:font-style"), look.italic ? QStringLiteral("italic") : QStringLiteral("normal"));
    if (look.color != 0)
        xml.writeAttribute(QStringLiteral("fo:color"), QLatin1Char('#') + hexColor(look.color));
    if (look.shading >= 0)
        xml.writeAttribute(QStringLiteral("fo:background-color"), QLatin1Char('#') + hexColor(look.shading));
    if (look.shift != 0)
        xml.writeAttribute(QStringLiteral("style:text-position"), look.shift > 0 ? QStringLiteral("super 58%") : QStringLiteral("sub 58%"));
    xml.writeEndElement();
}

// The content's automatic styles, those of the blocks that open pages of their own among them.
void writeAutomaticStyles(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<Opening>& opening)
{
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    for (auto it = styles.paragraphLooks.cbegin(); it != styles.paragraphLooks.cend(); ++it)
        writeParagraphStyle(xml, it.key(), it.value());
    QHash<int, QString> tableMasters;
    for (const Opening& each : opening) {
        const FlowBlock& block = document.blocks[each.block];
        // A floating box's paragraph opens the pages, not its table.
        if (block.kind == FlowBlock::Table && !block.floats)
            tableMasters.insert(block.table, each.master);
        else
            writeParagraphStyle(xml, each.style, block, each.master);
    }
    writeFloatStyles(xml);
    for (auto it = styles.textLooks.cbegin(); it != styles.textLooks.cend(); ++it)
        writeTextStyle(xml, it.key(), it.value());
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("fr1"));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("graphic"));
    xml.writeEmptyElement(QStringLiteral("style:graphic-properties"));
    xml.writeAttribute(QStringLiteral("style:vertical-pos"), QStringLiteral("top"));
    xml.writeAttribute(QStringLiteral("style:vertical-rel"), QStringLiteral("baseline"));
    xml.writeEndElement();
    writeTableStyles(xml, document, tableMasters);
    writeCellStyles(xml, document);
    writeSectionStyles(xml, document);
    xml.writeEndElement(); // office:automatic-styles
}

QByteArray contentXml(const FlowDocument& document)
{
    const Styles styles = documentStyles(document);

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("office:document-content"));
    xml.writeNamespace(QLatin1String(kOffice), QStringLiteral("office"));
    xml.writeNamespace(QLatin1String(kStyle), QStringLiteral("style"));
    xml.writeNamespace(QLatin1String(kText), QStringLiteral("text"));
    xml.writeNamespace(QLatin1String(kTable), QStringLiteral("table"));
    xml.writeNamespace(QLatin1String(kFo), QStringLiteral("fo"));
    xml.writeNamespace(QLatin1String(kSvg), QStringLiteral("svg"));
    xml.writeNamespace(QLatin1String(kDraw), QStringLiteral("draw"));
    xml.writeNamespace(QLatin1String(kXlink), QStringLiteral("xlink"));
    xml.writeAttribute(QStringLiteral("office:version"), QStringLiteral("1.2"));

    writeFontFaces(xml, document);
    // The first page takes the master page "First" from the block that opens it, the first page of
    // another format that format's.
    const QList<Opening> opening = openings(document, blockRanges(document), document.firstPageOwnMargins());
    writeAutomaticStyles(xml, styles, document, opening);

    xml.writeStartElement(QStringLiteral("office:body"));
    xml.writeStartElement(QStringLiteral("office:text"));
    writeBody(xml, styles, document, opening);
    xml.writeEndElement(); // office:text
    xml.writeEndElement(); // office:body
    xml.writeEndElement(); // office:document-content
    xml.writeEndDocument();
    return bytes;
}

// A running head or foot for the master page: its text, then the page number.
QString marginXml(const FlowMargin& margin, const char* element)
{
    if (margin.isEmpty())
        return QString();
    QString text = xmlSafe(margin.text).toHtmlEscaped();
    if (margin.pageNumber)
        text += QStringLiteral("%1<text:page-number text:select-page=\"current\">1</text:page-number>")
                    .arg(margin.text.isEmpty() ? QString() : QStringLiteral("<text:tab/>"));
    return QStringLiteral("<style:%1><text:p text:style-name=\"%2\">%3</text:p></style:%1>")
        .arg(QLatin1String(element), margin.text.isEmpty() ? QStringLiteral("MarginCentred") : QStringLiteral("Margin"), text);
}

// A page layout: the pages' size and margins, as in the DOCX.
QString pageLayoutXml(const QString& name, const FlowPageFormat& format)
{
    return QStringLiteral("<style:page-layout style:name=\"%1\"><style:page-layout-properties fo:page-width=\"%2\" "
                          "fo:page-height=\"%3\" style:print-orientation=\"%4\" fo:margin-top=\"%5\" fo:margin-bottom=\"%6\" "
                          "fo:margin-left=\"%7\" fo:margin-right=\"%8\"/><style:header-style/><style:footer-style/></style:page-layout>")
        .arg(name, points(format.size.width()), points(format.size.height()),
             format.size.width() > format.size.height() ? QStringLiteral("landscape") : QStringLiteral("portrait"))
        .arg(points(format.margins.top()), points(format.margins.bottom()), points(format.margins.left()), points(format.margins.right()));
}

QByteArray stylesXml(const FlowDocument& document)
{
    const double marginSize = qMax(document.header.size, document.footer.size);
    // A page layout and a master page for each format of the pages ("Standard" for the first's),
    // each with the running head and foot.
    const QList<FlowPageFormat> formats = distinctFormats(blockRanges(document));
    QString layouts;
    QString masters;
    for (int f = 0; f < formats.size(); ++f) {
        const QString layout = QStringLiteral("pm%1").arg(f + 1);
        layouts += pageLayoutXml(layout, formats[f]);
        masters += QStringLiteral("<style:master-page style:name=\"%1\" style:page-layout-name=\"%2\">%3%4</style:master-page>")
                       .arg(masterOf(formats, formats[f]), layout, marginXml(document.header, "header"), marginXml(document.footer, "footer"));
    }
    // A first page of its own shows only the margins the source's first page has, then the
    // pages go on in the standard master page.
    if (document.firstPageOwnMargins()) {
        masters += QStringLiteral("<style:master-page style:name=\"First\" style:page-layout-name=\"pm1\" "
                                  "style:next-style-name=\"Standard\">%1%2</style:master-page>")
                       .arg(document.header.onFirstPage ? marginXml(document.header, "header") : QString(),
                            document.footer.onFirstPage ? marginXml(document.footer, "footer") : QString());
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<office:document-styles xmlns:office=\"%1\" xmlns:style=\"%2\" xmlns:fo=\"%3\" xmlns:text=\"%4\" "
                          "office:version=\"1.2\"><office:automatic-styles><style:style style:name=\"Margin\" style:family=\"paragraph\">"
                          "<style:text-properties fo:font-size=\"%5\"/></style:style><style:style style:name=\"MarginCentred\" "
                          "style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/><style:text-properties "
                          "fo:font-size=\"%5\"/></style:style>%6</office:automatic-styles><office:master-styles>%7</office:master-styles>"
                          "</office:document-styles>")
        .arg(QLatin1String(kOffice), QLatin1String(kStyle), QLatin1String(kFo), QLatin1String(kText),
             points(marginSize > 0 ? marginSize : 9), layouts, masters)
        .toUtf8();
}

QByteArray manifestXml(const FlowDocument& document)
{
    QString xml = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<manifest:manifest xmlns:manifest=\"%1\" manifest:version=\"1.2\">"
                      "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
                      "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
                      "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
                      "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>")
                      .arg(QLatin1String(kManifest));
    for (int i = 0; i < document.images.size(); ++i) {
        xml += QStringLiteral("<manifest:file-entry manifest:full-path=\"%1\" manifest:media-type=\"image/%2\"/>")
                   .arg(imageEntry(document, i), document.images[i].type);
    }
    xml += QStringLiteral("</manifest:manifest>");
    return xml.toUtf8();
}

} // namespace

bool writeOdt(fz_context* ctx, const FlowDocument& document, const QString& path, QString* error)
{
    ZipFile zip(ctx, path);
    // The media type comes first and uncompressed, so that the file identifies itself.
    bool ok = zip.add("mimetype", QByteArrayLiteral("application/vnd.oasis.opendocument.text"), false)
              && zip.add("META-INF/manifest.xml", manifestXml(document)) && zip.add("content.xml", contentXml(document))
              && zip.add("styles.xml", stylesXml(document));
    for (int i = 0; ok && i < document.images.size(); ++i)
        ok = zip.add(imageEntry(document, i), document.images[i].data, false);
    ok = ok && zip.close();
    if (!ok && error)
        *error = zip.errorText();
    return ok;
}

} // namespace p2w
