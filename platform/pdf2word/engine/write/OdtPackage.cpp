#include "platform/pdf2word/engine/write/Outputs.h"
#include "platform/pdf2word/engine/write/ZipFile.h"

#include <QMap>
#include <QXmlStreamWriter>

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
    return QStringLiteral("%1|%2|%3|%4|%5|%6").arg(run.font).arg(qRound(run.size * 2)).arg(run.bold).arg(run.italic).arg(run.shift).arg(run.color);
}

QString paragraphKey(const FlowBlock& block)
{
    return QString::number(int(block.align)) + (block.rtl ? QStringLiteral("|rtl") : QString())
           + (block.pageBreakBefore ? QStringLiteral("|break") : QString())
           + (block.columnBreakBefore ? QStringLiteral("|column") : QString())
           + QStringLiteral("|%1|%2|%3").arg(qRound(block.spaceBefore * 10)).arg(qRound(block.lineSpacing * 10)).arg(exactLineSpacing(block));
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

// The paragraph style that opens the first page with margins of its own: the first paragraph's
// look on the master page "First".
const char kFirstPageStyle[] = "PFirst";

void writeParagraph(QXmlStreamWriter& xml, const Styles& styles, const FlowBlock& block, bool opensFirstPage)
{
    xml.writeStartElement(QStringLiteral("text:p"));
    xml.writeAttribute(QStringLiteral("text:style-name"),
                       opensFirstPage ? QLatin1String(kFirstPageStyle) : styles.paragraph.value(paragraphKey(block)));
    for (const FlowRun& run : block.runs) {
        xml.writeStartElement(QStringLiteral("text:span"));
        xml.writeAttribute(QStringLiteral("text:style-name"), styles.text.value(lookKey(run)));
        writeOdfText(xml, run.text);
        xml.writeEndElement();
    }
    xml.writeEndElement(); // text:p
}

void writePicture(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const FlowBlock& block,
                  bool opensFirstPage)
{
    const QSizeF size = fittedPictureSize(document, document.images[block.image]);
    xml.writeStartElement(QStringLiteral("text:p"));
    if (opensFirstPage)
        xml.writeAttribute(QStringLiteral("text:style-name"), QLatin1String(kFirstPageStyle));
    else
        xml.writeAttribute(QStringLiteral("text:style-name"), styles.paragraph.value(paragraphKey(block)));
    xml.writeStartElement(QStringLiteral("draw:frame"));
    xml.writeAttribute(QStringLiteral("draw:style-name"), QStringLiteral("fr1"));
    xml.writeAttribute(QStringLiteral("draw:name"), QStringLiteral("Picture %1").arg(block.image + 1));
    xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
    xml.writeAttribute(QStringLiteral("svg:width"), points(size.width()));
    xml.writeAttribute(QStringLiteral("svg:height"), points(size.height()));
    xml.writeAttribute(QStringLiteral("draw:z-index"), QStringLiteral("0"));
    xml.writeEmptyElement(QStringLiteral("draw:image"));
    xml.writeAttribute(QStringLiteral("xlink:href"), imageEntry(document, block.image));
    xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    xml.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
    xml.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    if (!document.images[block.image].description.isEmpty())
        xml.writeTextElement(QStringLiteral("svg:desc"), xmlSafe(document.images[block.image].description));
    xml.writeEndElement(); // draw:frame
    xml.writeEndElement(); // text:p
}

// The space above a table of the body, and the page or column it starts, as its block says.
void writeTableBreaks(QXmlStreamWriter& xml, const FlowDocument& document, int table)
{
    for (const FlowBlock& block : document.blocks) {
        if (block.kind != FlowBlock::Table || block.table != table)
            continue;
        if (block.spaceBefore > 0)
            xml.writeAttribute(QStringLiteral("fo:margin-top"), points(block.spaceBefore));
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
        fittedColumns(document, document.sections[s], &widths, &gaps);
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

// firstPageTable: the table that opens a first page with margins of its own, or -1.
void writeTableStyles(QXmlStreamWriter& xml, const FlowDocument& document, int firstPageTable)
{
    for (int t = 0; t < document.tables.size(); ++t) {
        const QList<double> widths = fittedColumnWidths(document, document.tables[t]);
        double total = 0;
        for (double width : widths)
            total += width;
        xml.writeStartElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Table%1").arg(t + 1));
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table"));
        if (t == firstPageTable)
            xml.writeAttribute(QStringLiteral("style:master-page-name"), QStringLiteral("First"));
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

void writeBlocks(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<FlowBlock>& blocks,
                 bool opensFirstPage = false);

void writeTable(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, int index)
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
                writeBlocks(xml, styles, document, cell.paragraphs);
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

// opensFirstPage: the first of blocks opens a first page with margins of its own (a table does it
// through its style).
void writeBlocks(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, const QList<FlowBlock>& blocks,
                 bool opensFirstPage)
{
    for (int i = 0; i < blocks.size(); ++i) {
        const FlowBlock& block = blocks[i];
        if (block.kind == FlowBlock::Image)
            writePicture(xml, styles, document, block, opensFirstPage && i == 0);
        else if (block.kind == FlowBlock::Table)
            writeTable(xml, styles, document, block.table);
        else
            writeParagraph(xml, styles, block, opensFirstPage && i == 0);
    }
}

void writeParagraphStyle(QXmlStreamWriter& xml, const QString& name, const FlowBlock& look, bool opensFirstPage)
{
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), name);
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    if (opensFirstPage)
        xml.writeAttribute(QStringLiteral("style:master-page-name"), QStringLiteral("First"));
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

// The body's blocks, those in columns inside their section.
void writeBody(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, bool opensFirstPage)
{
    const QList<BlockRange> ranges = blockRanges(document);
    int index = 0;
    for (int r = 0; r < ranges.size(); ++r) {
        const BlockRange& range = ranges[r];
        if (range.columns) {
            ++index;
            xml.writeStartElement(QStringLiteral("text:section"));
            xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Sect%1").arg(index));
            xml.writeAttribute(QStringLiteral("text:name"), QStringLiteral("Section%1").arg(index));
        }
        writeBlocks(xml, styles, document, document.blocks.mid(range.first, range.count), opensFirstPage && r == 0);
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

// A run look's text style: font, size, weight, slant, colour and shift above or below the line.
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
    if (look.shift != 0)
        xml.writeAttribute(QStringLiteral("style:text-position"), look.shift > 0 ? QStringLiteral("super 58%") : QStringLiteral("sub 58%"));
    xml.writeEndElement();
}

// The content's automatic styles; with firstPage, the opening block's takes the master page "First".
void writeAutomaticStyles(QXmlStreamWriter& xml, const Styles& styles, const FlowDocument& document, bool firstPage)
{
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    for (auto it = styles.paragraphLooks.cbegin(); it != styles.paragraphLooks.cend(); ++it)
        writeParagraphStyle(xml, it.key(), it.value(), false);
    const FlowBlock opening = firstPage ? document.blocks.front() : FlowBlock();
    if (firstPage && opening.kind != FlowBlock::Table)
        writeParagraphStyle(xml, QLatin1String(kFirstPageStyle), opening, true);
    for (auto it = styles.textLooks.cbegin(); it != styles.textLooks.cend(); ++it)
        writeTextStyle(xml, it.key(), it.value());
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("fr1"));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("graphic"));
    xml.writeEmptyElement(QStringLiteral("style:graphic-properties"));
    xml.writeAttribute(QStringLiteral("style:vertical-pos"), QStringLiteral("top"));
    xml.writeAttribute(QStringLiteral("style:vertical-rel"), QStringLiteral("baseline"));
    xml.writeEndElement();
    writeTableStyles(xml, document, firstPage && opening.kind == FlowBlock::Table ? opening.table : -1);
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
    // The first page takes the master page "First" from the block that opens it.
    const bool firstPage = document.firstPageOwnMargins() && !document.blocks.isEmpty();
    writeAutomaticStyles(xml, styles, document, firstPage);

    xml.writeStartElement(QStringLiteral("office:body"));
    xml.writeStartElement(QStringLiteral("office:text"));
    writeBody(xml, styles, document, firstPage);
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

QByteArray stylesXml(const FlowDocument& document)
{
    // The page: the source's page size and margins, as in the DOCX.
    const QSizeF page = document.pageSize.isValid() ? document.pageSize : QSizeF(595, 842);
    const double marginSize = qMax(document.header.size, document.footer.size);
    // A first page of its own shows only the margins the source's first page has, then the
    // pages go on in the standard master page.
    QString first;
    if (document.firstPageOwnMargins()) {
        first = QStringLiteral("<style:master-page style:name=\"First\" style:page-layout-name=\"pm1\" "
                               "style:next-style-name=\"Standard\">%1%2</style:master-page>")
                    .arg(document.header.onFirstPage ? marginXml(document.header, "header") : QString(),
                         document.footer.onFirstPage ? marginXml(document.footer, "footer") : QString());
    }
    return (QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<office:document-styles xmlns:office=\"%1\" xmlns:style=\"%2\" xmlns:fo=\"%3\" xmlns:text=\"%6\" "
                "office:version=\"1.2\"><office:automatic-styles><style:style style:name=\"Margin\" style:family=\"paragraph\">"
                "<style:text-properties fo:font-size=\"%7\"/></style:style><style:style style:name=\"MarginCentred\" "
                "style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\"/><style:text-properties "
                "fo:font-size=\"%7\"/></style:style><style:page-layout style:name=\"pm1\"><style:page-layout-properties "
                "fo:page-width=\"%4\" fo:page-height=\"%5\" %10/><style:header-style/><style:footer-style/></style:page-layout>"
                "</office:automatic-styles><office:master-styles><style:master-page style:name=\"Standard\" "
                "style:page-layout-name=\"pm1\">%8%9</style:master-page>")
                .arg(QLatin1String(kOffice), QLatin1String(kStyle), QLatin1String(kFo), points(page.width()), points(page.height()),
                     QLatin1String(kText), points(marginSize > 0 ? marginSize : 9), marginXml(document.header, "header"),
                     marginXml(document.footer, "footer"))
                .arg(QStringLiteral("fo:margin-top=\"%1\" fo:margin-bottom=\"%2\" fo:margin-left=\"%3\" fo:margin-right=\"%4\"")
                         .arg(points(document.margins.top()), points(document.margins.bottom()), points(document.margins.left()),
                              points(document.margins.right())))
            + first + QStringLiteral("</office:master-styles></office:document-styles>"))
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
